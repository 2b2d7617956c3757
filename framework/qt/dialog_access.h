// The framework's own way into a CDialog.
#pragma once

#include "framework/dialog.h"
#include "framework/menu.h"

struct AfxDialogAccess {
    // Handles a message through the dialog's map, unless the dialog has ended.
    static LRESULT Dispatch(CDialog& dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // A control's notification (WM_COMMAND).
    static void Notify(CDialog& dialog, int id, UINT code) {
        Dispatch(dialog, WM_COMMAND, MAKEWPARAM(UINT(id), code), 0);
    }
    static bool IsRunning(const CDialog& dialog);
    static const CMenu* SystemMenu(CDialog& dialog);
};
