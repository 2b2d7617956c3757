// The main dialog as the user meets it: its first display, the keyboard, the
// About box and the two ways out.
#include "tests/ui/ui_fixture.h"

#include "framework/controls.h"
#include "tests/framework/qt_test_support.h"
#include "ui/resource.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

const char kTargetRequired[] = "Target Required: Enter Target Host Name or IP Address";
const char kPortMissing[] =
    "Invalid Port: Select a Service Type or Enter a Port Number between 1 - 65535";

// Closes every About box that opens, with Enter, and counts them.
class AboutBoxCloser {
public:
    AboutBoxCloser() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(10);
    }
    int Count() const { return m_nCount; }

private:
    void Poll() {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !box->isVisible() || box == m_last ||
            box->windowTitle() != "About KeltoCONNECT")
            return;
        m_last = box;
        ++m_nCount;
        QTest::keyClick(box, Qt::Key_Return);
    }

    QTimer m_timer;
    QPointer<QWidget> m_last;
    int m_nCount = 0;
};

using DialogUse = DialogTest;

TEST_F(DialogUse, FirstDisplay) {
    CConnectDlg dlg;
    Run(dlg, [&] {
        EXPECT_EQ(Focus(), Widget(dlg, IDC_TARGET));
        EXPECT_EQ(dlg.GetDlgItem(IDC_TARGET)->GetWindowText(), "");
        EXPECT_EQ(Combo(dlg, IDC_TARGET)->GetCount(), 0);

        CComboBox* service = Combo(dlg, IDC_SERVICE);
        ASSERT_GE(service->GetCurSel(), 0);
        EXPECT_EQ(service->GetLBText(service->GetCurSel()), "KRPC");
        CEdit* port = Edit(dlg, IDC_PORT);
        EXPECT_EQ(port->GetWindowText(), "1352");
        EXPECT_TRUE(port->IsReadOnly());

        auto* count = static_cast<CSliderCtrl*>(dlg.GetDlgItem(IDC_COUNT));
        EXPECT_EQ(count->GetPos(), 0) << "one connection";
        EXPECT_EQ(count->GetRangeMin(), 0);
        EXPECT_EQ(count->GetRangeMax(), 4);
        EXPECT_EQ(count->GetNumTics(), 5);

        EXPECT_TRUE(dlg.GetDlgItem(IDC_CONNECT)->IsWindowEnabled());
        EXPECT_FALSE(dlg.GetDlgItem(IDC_STOP)->IsWindowEnabled());
        EXPECT_TRUE(dlg.GetDlgItem(IDC_QUIT)->IsWindowEnabled());
        EXPECT_EQ(dlg.GetDlgItem(IDC_OUTPUT)->GetWindowText(), "");
    });
    EXPECT_EQ(Messages(), std::vector<ShownMessage>{});
}

TEST_F(DialogUse, TabGoesThroughItsFiveStopsInOrder) {
    CConnectDlg dlg;
    Run(dlg, [&] {
        const int order[] = {IDC_PORT, IDC_COUNT, IDC_SERVICE, IDC_CONNECT, IDC_TARGET, IDC_PORT};
        for (int id : order) {
            Key(Qt::Key_Tab);
            EXPECT_EQ(Focus(), Widget(dlg, id)) << "Tab to " << id;
        }
        Key(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(Focus(), Widget(dlg, IDC_TARGET));
    });
}

// Enter in either field is a click on Connect: the same validation, and its
// first failing check stops it before any run.
TEST_F(DialogUse, EnterStartsTheValidation) {
    struct Case {
        const char* target;
        bool other; // "Other" chosen, the port field left empty
        int focus;
        const char* message;
    };
    const Case cases[] = {
        {"", false, IDC_TARGET, kTargetRequired},
        {"", false, IDC_PORT, kTargetRequired},
        {"127.0.0.1", true, IDC_PORT, kPortMissing},
    };
    for (const Case& c : cases) {
        ClearMessages();
        CConnectDlg dlg;
        Run(dlg, [&] {
            TypeTarget(dlg, c.target);
            if (c.other) {
                dlg.GetDlgItem(IDC_SERVICE)->SetFocus();
                Key(Qt::Key_End);
            }
            dlg.GetDlgItem(c.focus)->SetFocus();
            Key(Qt::Key_Return);
            ASSERT_TRUE(WaitFor([] { return !Messages().empty(); })) << c.focus;
            QTest::qWait(50);
            EXPECT_FALSE(dlg.GetDlgItem(IDC_STOP)->IsWindowEnabled()) << "no run";
            EXPECT_EQ(dlg.GetDlgItem(IDC_OUTPUT)->GetWindowText(), "");
        });
        EXPECT_EQ(Messages(), (std::vector<ShownMessage>{{c.message, MB_OK | MB_ICONSTOP}}))
            << c.target << " " << c.focus;
    }
}

// Escape is the framework's Cancel and skips the save; Quit saves, which
// rewrites this file (leading blanks go, LF becomes CR LF, list order).
TEST_F(DialogUse, EscapeEndsWithoutTheSaveQuitSaves) {
    const CString fixture = "b.example\n  a.example\n";
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        INT_PTR result;
        CString file;
    };
    const Case cases[] = {
        {Qt::Key_Escape, Qt::NoModifier, IDCANCEL, fixture},
        {Qt::Key_Q, Qt::AltModifier, 0, "a.example\r\nb.example\r\n"},
    };
    for (const Case& c : cases) {
        WriteHistory(fixture);
        CConnectDlg dlg;
        EXPECT_EQ(Run(dlg,
                      [&] {
                          ASSERT_EQ(dlg.GetDlgItem(IDC_TARGET)->GetWindowText(), "b.example");
                          Key(c.key, c.modifiers);
                          EXPECT_TRUE(WaitForDialogEnd(dlg));
                      }),
                  c.result);
        EXPECT_EQ(ReadHistory(), c.file);
    }
}

TEST_F(DialogUse, SystemMenuEndsWithTheAboutItemThatOpensTheAboutBox) {
    CConnectDlg dlg;
    AboutBoxCloser closer;
    QStringList texts;
    Run(dlg, [&] {
        ChooseInMenu(Qt::Key_A, &texts);
        Key(Qt::Key_Space, Qt::AltModifier);
        ASSERT_TRUE(WaitFor([&] { return closer.Count() == 1; }));
    });
    ASSERT_GE(texts.size(), 2);
    EXPECT_EQ(texts.mid(texts.size() - 2), (QStringList{"-", "&About KeltoCONNECT..."}));
    EXPECT_EQ(closer.Count(), 1);
}

TEST_F(DialogUse, AboutBoxFromTheIconButtonAndFromRelatedSystemCommands) {
    CConnectDlg dlg;
    AboutBoxCloser closer;
    Run(dlg, [&] {
        Click(dlg, IDC_ABOUTICON);
        ASSERT_TRUE(WaitFor([&] { return closer.Count() == 1; })) << "icon button";
        struct Case {
            UINT command;
            int opens;
        };
        // Only the low four bits may differ.
        const Case cases[] = {{0x0010, 1}, {0x0017, 1}, {0x001F, 1}, {0x0020, 0}, {0x0000, 0}};
        for (const Case& c : cases) {
            const int before = closer.Count();
            dlg.SendMessage(WM_SYSCOMMAND, c.command, 0);
            QTest::qWait(30);
            EXPECT_EQ(closer.Count() - before, c.opens) << std::hex << c.command;
        }
        EXPECT_TRUE(WidgetOf(&dlg)->isVisible()) << "the main dialog goes on";
    });
}

} // namespace
