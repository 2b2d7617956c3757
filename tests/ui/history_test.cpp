// The target history end to end through the real dialog: what resolved comes
// back in the next run, what did not is gone, and the list's cap.
#include "tests/ui/ui_fixture.h"

#include "history/target_list.h"
#include "tests/kelto/kelto_testing.h"
#include "tests/probe/transcript.h"
#include "ui/resource.h"

#include <gmock/gmock.h>

#include <unistd.h>

using ::testing::HasSubstr;

namespace {

// "Other" chosen with the keys, then the port typed.
void TypePort(const CConnectDlg& dlg, uint16_t port) {
    dlg.GetDlgItem(IDC_SERVICE)->SetFocus();
    Key(Qt::Key_End);
    dlg.GetDlgItem(IDC_PORT)->SetFocus();
    Type(std::to_string(port).c_str());
}

std::vector<uint32_t> Marks(CComboBox* box) {
    std::vector<uint32_t> marks;
    for (int i = 0; i < box->GetCount(); ++i)
        marks.push_back(uint32_t(box->GetItemData(i)));
    return marks;
}

void Quit(const CConnectDlg& dlg) {
    Key(Qt::Key_Q, Qt::AltModifier);
    EXPECT_TRUE(WaitForDialogEnd(dlg));
}

using HistoryInDialog = DialogTest;

TEST_F(HistoryInDialog, ResolvedTargetsComeBackTheOneThatFailedIsGone) {
    uint16_t port = 0;
    const int listener = ListenOnLoopback(16, port);
    ASSERT_GE(listener, 0);
    const std::vector<uint32_t> marked2 = {HOST_KEEP_MARK, HOST_KEEP_MARK};

    CConnectDlg first;
    EXPECT_EQ(Run(first,
                  [&] {
                      TypePort(first, port);
                      TypeTarget(first, "127.0.0.1");
                      ASSERT_TRUE(ConnectAndWait(first));
                      Quit(first);
                  }),
              0);
    EXPECT_EQ(ReadHistory(), "127.0.0.1\r\n");

    CConnectDlg second;
    EXPECT_EQ(Run(second,
                  [&] {
                      CComboBox* box = Combo(second, IDC_TARGET);
                      EXPECT_EQ(box->GetWindowText(), "127.0.0.1") << "the file's first line";
                      EXPECT_EQ(Entries(box), std::vector<CString>{"127.0.0.1"});
                      TypePort(second, port);

                      // Dotted but no address: it fails without any name server.
                      TypeTarget(second, "999.1..5");
                      ASSERT_TRUE(ConnectAndWait(second));
                      EXPECT_THAT(second.GetDlgItem(IDC_OUTPUT)->GetWindowText(),
                                  HasSubstr(kLookupFailed));
                      EXPECT_EQ(Entries(box), std::vector<CString>{"127.0.0.1"});
                      EXPECT_EQ(box->GetWindowText(), "999.1..5");

                      // Another text for the same address; the type-ahead
                      // offers 127.0.0.1 until the last character.
                      TypeTarget(second, "127.1");
                      ASSERT_EQ(box->GetWindowText(), "127.1");
                      ASSERT_TRUE(ConnectAndWait(second));
                      EXPECT_THAT(second.GetDlgItem(IDC_OUTPUT)->GetWindowText(),
                                  HasSubstr("Connect reply from:\t127.0.0.1"));
                      EXPECT_EQ(Entries(box), (std::vector<CString>{"127.1", "127.0.0.1"}));
                      EXPECT_EQ(Marks(box), marked2);
                      Quit(second);
                  }),
              0);
    close(listener);
    EXPECT_EQ(ReadHistory(), "127.1\r\n127.0.0.1\r\n") << "the last good target first";
    EXPECT_EQ(Messages(), std::vector<ShownMessage>{});
}

TEST_F(HistoryInDialog, ListIsCappedAtFiftyWhenTheBoxLosesTheFocus) {
    CString file;
    CString first50;
    for (int i = 59; i >= 0; --i) {
        char line[32];
        std::snprintf(line, sizeof line, "host%02d.example\r\n", i);
        file += line;
        if (i < 50)
            first50 = line + first50;
    }
    WriteHistory(file);

    CConnectDlg dlg;
    EXPECT_EQ(Run(dlg,
                  [&] {
                      CComboBox* box = Combo(dlg, IDC_TARGET);
                      ASSERT_EQ(box->GetCount(), 60) << "the load keeps every line";
                      EXPECT_EQ(box->GetWindowText(), "host59.example");
                      Key(Qt::Key_Tab);
                      EXPECT_EQ(box->GetCount(), 50);
                      EXPECT_EQ(box->GetLBText(49), "host49.example");
                      Quit(dlg);
                  }),
              0);
    EXPECT_EQ(ReadHistory(), first50);
}

} // namespace
