// The service box and the port field that follows it, chosen with the keys
// as a user does.
#include "tests/ui/ui_fixture.h"

#include "tests/framework/qt_test_support.h"
#include "ui/resource.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

#include <algorithm>

namespace {

// Opens the service box's list with Alt+Down and picks text in it with the
// arrow keys and Enter.
void ChooseFromList(const CConnectDlg& dlg, const CString& text) {
    dlg.GetDlgItem(IDC_SERVICE)->SetFocus();
    Key(Qt::Key_Down, Qt::AltModifier);
    auto* combo = qobject_cast<QComboBox*>(Widget(dlg, IDC_SERVICE));
    ASSERT_TRUE(WaitFor([&] { return combo->view()->isVisible(); }));
    const std::vector<CString> entries = Entries(Combo(dlg, IDC_SERVICE));
    const auto row = std::find(entries.begin(), entries.end(), text) - entries.begin();
    QTest::keyClick(combo->view(), Qt::Key_Home);
    for (long i = 0; i < row; ++i)
        QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return !combo->view()->isVisible(); }));
}

CString Port(const CConnectDlg& dlg) {
    return dlg.GetDlgItem(IDC_PORT)->GetWindowText();
}

bool PortLocked(const CConnectDlg& dlg) {
    return Edit(dlg, IDC_PORT)->IsReadOnly();
}

using ServiceList = DialogTest;

TEST_F(ServiceList, EachServiceShowsItsPortOtherOpensTheField) {
    struct Row {
        const char* text;
        const char* port; // empty: the field is open
    };
    const Row rows[] = {
        {"KRPC", "1352"},   {"TIIOP", "63148"},  {"TIIOP/SSL", "63149"},  {"FTP", "21"},
        {"FTP/SSL", "990"}, {"HTTP", "80"},      {"HTTPS", "443"},        {"HTTP Proxy", "8080"},
        {"IMAP", "143"},    {"IMAP/SSL", "993"}, {"LDAP", "389"},         {"LDAP/SSL", "636"},
        {"NNTP", "119"},    {"NNTP/SSL", "563"}, {"POP", "110"},          {"POP/SSL", "995"},
        {"SMTP", "25"},     {"SMTP/SSL", "465"}, {"SOCKS Proxy", "1080"}, {"Other", ""},
    };
    CConnectDlg dlg;
    Run(dlg, [&] {
        CComboBox* service = Combo(dlg, IDC_SERVICE);
        ASSERT_EQ(service->GetCount(), 20);
        dlg.GetDlgItem(IDC_SERVICE)->SetFocus();
        // Down walks the list in its order, each step a committed choice.
        for (const Row& row : rows) {
            if (&row != rows)
                Key(Qt::Key_Down);
            ASSERT_GE(service->GetCurSel(), 0);
            EXPECT_EQ(service->GetLBText(service->GetCurSel()), row.text);
            EXPECT_EQ(Port(dlg), row.port) << row.text;
            EXPECT_EQ(PortLocked(dlg), *row.port != '\0') << row.text;
        }
        Key(Qt::Key_Home);
        EXPECT_EQ(Port(dlg), "1352");
        EXPECT_TRUE(PortLocked(dlg));
    });
}

TEST_F(ServiceList, OtherEmptiesTheFieldEachTimeAServiceLocksItAgain) {
    CConnectDlg dlg;
    Run(dlg, [&] {
        ChooseFromList(dlg, "Other");
        EXPECT_EQ(Port(dlg), "");
        EXPECT_FALSE(PortLocked(dlg));
        Click(dlg, IDC_PORT);
        ASSERT_EQ(Focus(), Widget(dlg, IDC_PORT));
        Type("8000");
        EXPECT_EQ(Port(dlg), "8000");

        ChooseFromList(dlg, "Other");
        EXPECT_EQ(Port(dlg), "") << "the choice already made, made again";
        EXPECT_FALSE(PortLocked(dlg));

        ChooseFromList(dlg, "SMTP");
        EXPECT_EQ(Port(dlg), "25");
        EXPECT_TRUE(PortLocked(dlg));
        Click(dlg, IDC_PORT);
        Type("9");
        EXPECT_EQ(Port(dlg), "25") << "a locked field takes no typing";
    });
}

} // namespace
