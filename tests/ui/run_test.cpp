// A whole run through the real dialog against a listener on 127.0.0.1, set
// up and started with the keys and the mouse, its transcript read from the
// pane.
#include "tests/ui/ui_fixture.h"

#include "history/target_list.h"
#include "tests/kelto/kelto_testing.h"
#include "tests/probe/transcript.h"
#include "ui/resource.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <unistd.h>

namespace {

using DialogRun = DialogTest;

TEST_F(DialogRun, ThreeConnectionsToAnOtherPortThenQuit) {
    uint16_t port = 0;
    const int listener = ListenOnLoopback(16, port);
    ASSERT_GE(listener, 0);
    CString transcript;
    QString shown;

    CConnectDlg dlg;
    const INT_PTR result = Run(dlg, [&] {
        auto* target = qobject_cast<QComboBox*>(Widget(dlg, IDC_TARGET));
        QTest::mouseClick(target->lineEdit(), Qt::LeftButton);
        Type("127.0.0.1");
        Key(Qt::Key_Tab); // the port field, locked
        Key(Qt::Key_Tab); // the trackbar
        Key(Qt::Key_Right);
        Key(Qt::Key_Right); // three connections
        Key(Qt::Key_Tab);   // the service box
        Key(Qt::Key_End);   // "Other"
        Key(Qt::Key_Backtab, Qt::ShiftModifier);
        Key(Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_EQ(Focus(), Widget(dlg, IDC_PORT));
        Type(std::to_string(port).c_str());

        Click(dlg, IDC_CONNECT);
        ASSERT_TRUE(WaitForRunEnd(dlg));
        transcript = dlg.GetDlgItem(IDC_OUTPUT)->GetWindowText();
        shown = qobject_cast<QPlainTextEdit*>(Widget(dlg, IDC_OUTPUT))->toPlainText();

        EXPECT_FALSE(dlg.GetDlgItem(IDC_STOP)->IsWindowEnabled());
        EXPECT_EQ(Focus(), Widget(dlg, IDC_TARGET)) << "Connect gives the focus back";
        CComboBox* box = Combo(dlg, IDC_TARGET);
        ASSERT_EQ(Entries(box), std::vector<CString>{"127.0.0.1"});
        EXPECT_EQ(box->GetItemData(0), HOST_KEEP_MARK) << "it resolved";

        Key(Qt::Key_Q, Qt::AltModifier);
        EXPECT_TRUE(WaitForDialogEnd(dlg));
    });
    close(listener);

    EXPECT_EQ(result, 0) << "ended by the save-and-close path";
    std::string expected = kConnecting;
    for (int i = 1; i <= 3; ++i)
        expected += Reply(i, "127.0.0.1", port);
    EXPECT_EQ(ParseTranscript(transcript).shape, expected + Summary(3, 3));
    EXPECT_EQ(shown, QString::fromStdString(transcript).replace("\r\n", "\n"));
    EXPECT_EQ(ReadHistory(), "127.0.0.1\r\n");
    EXPECT_EQ(Messages(), std::vector<ShownMessage>{});
}

} // namespace
