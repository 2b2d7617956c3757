// The main dialog run for real on Qt's offscreen platform, driven by key and
// mouse events. Each test works in a fresh directory of its own that holds a
// file named tovra.exe, so the dialog's history file is tovra.dat there;
// message boxes are recorded instead of shown; the runtime library is started
// once for the whole program.
#pragma once

#include "framework/controls.h"
#include "ui/connect_dlg.h"

#include <QWidget>
#include <Qt>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

struct ShownMessage {
    CString text;
    UINT type;
    bool operator==(const ShownMessage&) const = default;
};

class DialogTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Runs dlg modally with body inside its loop, then lets a run that is
    // still going end, as the program does after the dialog.
    INT_PTR Run(CConnectDlg& dlg, const std::function<void()>& body);

    void WriteHistory(const CString& content) const;
    CString ReadHistory() const;

    static std::vector<ShownMessage> Messages();
    static void ClearMessages();

    CString m_strDir;

private:
    CString m_strFormerDir;
};

// The keyboard focus, and the widget of a control.
QWidget* Focus();
QWidget* Widget(const CConnectDlg& dlg, int id);

CComboBox* Combo(const CConnectDlg& dlg, int id);
CEdit* Edit(const CConnectDlg& dlg, int id);
std::vector<CString> Entries(CComboBox* box);

// A key pressed and released where the focus is.
void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Characters typed where the focus is.
void Type(const char* text);
void Click(const CConnectDlg& dlg, int id);

// Replaces the target box's text by typing, as a user selecting all of it
// first would.
void TypeTarget(const CConnectDlg& dlg, const char* text);
// Waits until a run that Connect started has ended; false when it did not
// end in time. The output pane must have been empty when Connect was pressed.
bool WaitForRunEnd(const CConnectDlg& dlg);
// Waits until the dialog has ended (its window is hidden then).
bool WaitForDialogEnd(const CConnectDlg& dlg);
// Empties the output pane, presses Connect with Alt+C and waits for the run's
// end.
bool ConnectAndWait(const CConnectDlg& dlg);
