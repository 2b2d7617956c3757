// Message boxes in windows (see message_box.h for AfxMessageBox itself). The
// program's entry installs them; so does the test main of the Qt tests.
//
// A box is modal, has an OK button, the error (MB_ICONSTOP) or the
// information icon (MB_ICONINFORMATION) and the application's name as its
// title; the main thread shows it. Called from another thread, it waits
// until the box is closed, as long as the main thread runs a dialog or a
// box; when it does not (or the application has ended) it returns IDOK at
// once.
#pragma once

#include "framework/afx_types.h"

#include <functional>

void AfxInstallWindowMessageBoxes();

struct MessageBoxRecord {
    CString title;
    CString text;
    UINT icon; // MB_ICONSTOP, MB_ICONINFORMATION or 0
};

// For tests: from now on a box is recorded instead of shown, on the main
// thread like a real one, and answers IDOK. An empty hook shows boxes again.
void AfxSetMessageBoxHook(std::function<void(const MessageBoxRecord&)> hook);
