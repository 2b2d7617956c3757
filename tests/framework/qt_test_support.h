// Helpers for tests that run a dialog on Qt's offscreen platform.
//
//   CDemoDlg dlg;
//   INT_PTR code = RunModal(dlg, [&] {
//       QTest::keyClick(WidgetOf(dlg.GetDlgItem(IDC_NAME)), Qt::Key_A);
//       dlg.EndDialog(IDOK);
//   });
#pragma once

#include "framework/dialog.h"

#include <QStringList>
#include <QWidget>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Ends the whole test program with a failure, naming what, when it is not
// destroyed within timeoutMs: a deadlocked main thread could not end it any
// other way.
class TestWatchdog {
public:
    TestWatchdog(int timeoutMs, const char* what);
    ~TestWatchdog();

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_bFinished = false;
    std::thread m_thread;
};

// What DoModal returns when the body left the dialog running.
constexpr int kEndedByTest = 4711;

// Runs dlg modally and body inside its loop once the window is active; ends
// the dialog with kEndedByTest if body did not. A watchdog ends the whole test
// program with a failure when the dialog is still running after timeoutMs.
INT_PTR RunModal(CDialog& dlg, const std::function<void()>& body, int timeoutMs = 30000);

// Processes events until done() holds or timeoutMs have passed; done()'s last
// value.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

// Chooses the item with this mnemonic in the popup menu that opens next.
// Given texts, first adds the menu's item texts to it ("-" for a separator);
// it must outlive the menu.
void ChooseInMenu(Qt::Key mnemonic, QStringList* texts = nullptr);

// The widget behind a dialog or control handle (main thread).
QWidget* WidgetOf(const CWnd* wnd);
