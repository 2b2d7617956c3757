// The application object's start-up, run in this test program: each test has
// a working directory of its own (with a tovra.exe there, so that the history
// file is looked for there too), message boxes are recorded instead of shown,
// and the main dialog is driven from inside its modal loop.
#pragma once

#include "framework/message_box_ui.h"
#include "ui/connect_dlg.h"

#include <gtest/gtest.h>

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    struct Outcome {
        BOOL result = TRUE;       // what InitInstance returned
        bool dialogShown = false; // the main dialog appeared
    };
    // Runs the application's InitInstance. Once the main dialog is shown and
    // active, body runs inside its modal loop; it must see to the dialog's
    // end, else the test fails after a few seconds.
    Outcome RunApp(const std::function<void(CConnectDlg&)>& body);

    std::string HistoryFile() const { return m_dir + "/tovra.dat"; }

    std::vector<MessageBoxRecord> m_boxes;

private:
    std::string m_dir;
    std::string m_oldDir;
};

// What the user does in the main dialog.
void TypeTarget(CConnectDlg& dlg, const char* text);
void ChooseOtherService(CConnectDlg& dlg);
void TypePort(CConnectDlg& dlg, uint32_t port);
void SetCount(CConnectDlg& dlg, int count);
void Click(CConnectDlg& dlg, int id);
void PressEscape();
void CloseWindow(CConnectDlg& dlg);

CString OutputText(CConnectDlg& dlg);
bool IsEnabled(CConnectDlg& dlg, int id);
// Whether any top-level window is shown (main thread).
bool AnyWindowShown();

// A file's content, and its inode (0 when it does not exist).
std::string ReadFile(const std::string& path);
ino_t InodeOf(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
