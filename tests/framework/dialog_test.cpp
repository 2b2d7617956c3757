// The dialog as a whole: its message map, its keys, its system menu and the
// window's own commands.
#include "tests/framework/demo_dialog.h"
#include "tests/framework/qt_test_support.h"

#include "framework/resources.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

void Click(DemoDlg& dlg, int id) {
    QTest::mouseClick(WidgetOf(dlg.GetDlgItem(id)), Qt::LeftButton);
}

QWidget* Focus() {
    return QApplication::focusWidget();
}

TEST(Dialog, HandlersInheritedFromAnotherBaseAndPrivateMessages) {
    DemoDlg dlg;
    const INT_PTR code = RunModal(dlg, [&] {
        Click(dlg, IDC_GO);
        Click(dlg, IDC_OTHER);
        EXPECT_EQ(dlg.SendMessage(WM_DEMO, 4, 5), 5);
        EXPECT_TRUE(dlg.PostMessage(WM_DEMO, 6, -7));
        EXPECT_EQ(dlg.m_log.back(), "demo 4 5") << "a posted message waits for the loop";
        EXPECT_TRUE(WaitFor([&] { return dlg.m_log.back() == "demo 6 -7"; }));
    });
    EXPECT_EQ(code, kEndedByTest);
    EXPECT_EQ(dlg.m_log, (Log{"go", "other", "demo 4 5", "demo 6 -7"}));
}

TEST(Dialog, UnmappedOkAndCancelCommandsEndTheDialog) {
    for (int command : {IDOK, IDCANCEL}) {
        DemoDlg dlg;
        EXPECT_EQ(RunModal(dlg, [&] { dlg.SendMessage(WM_COMMAND, WPARAM(command)); }), command);
    }
}

TEST(Dialog, EndDialogInInitDialogEndsBeforeTheLoop) {
    struct EndingDlg : DemoDlg {
        BOOL OnInitDialog() override {
            DemoDlg::OnInitDialog();
            EndDialog(17);
            return TRUE;
        }
    } dlg;
    EXPECT_EQ(dlg.DoModal(), 17);
    EXPECT_EQ(dlg.GetDlgItem(IDC_NUMBER)->GetWindowText(), "") << "ended: no effect";
}

TEST(Dialog, EscapeIsTheCancelCommandWhereverTheFocusIs) {
    for (int focus : {IDC_NUMBER, IDC_LIST, IDC_BOX, IDC_PANE, IDC_OTHER}) {
        DemoDlg dlg;
        EXPECT_EQ(RunModal(dlg,
                           [&] {
                               dlg.GetDlgItem(focus)->SetFocus();
                               QTest::keyClick(Focus(), Qt::Key_Escape);
                           }),
                  IDCANCEL)
            << "focus in " << focus;
    }
}

struct EnterCase {
    const char* name;
    int focus; // control that has the focus
    bool disableDefault;
    Log expected;
};

TEST(Dialog, EnterPressesTheDefaultOrTheFocusedButton) {
    const EnterCase cases[] = {
        {"edit", IDC_NUMBER, false, {"go"}},
        {"drop-down list", IDC_LIST, false, {"go"}},
        {"focused push button", IDC_OTHER, false, {"other"}},
        {"pane that keeps Enter", IDC_PANE, false, {}},
        {"default button disabled", IDC_NUMBER, true, {}},
    };
    for (const EnterCase& c : cases) {
        DemoDlg dlg;
        EXPECT_EQ(RunModal(dlg,
                           [&] {
                               if (c.disableDefault)
                                   dlg.Button(IDC_GO)->EnableWindow(FALSE);
                               dlg.GetDlgItem(c.focus)->SetFocus();
                               ASSERT_EQ(Focus(), WidgetOf(dlg.GetDlgItem(c.focus)));
                               QTest::keyClick(Focus(), Qt::Key_Return);
                               QTest::qWait(20);
                           }),
                  kEndedByTest)
            << c.name;
        EXPECT_EQ(dlg.m_log, c.expected) << c.name;
    }
}

TEST(Dialog, EnterInTheEditableBoxReachesTheDefaultButtonAndAddsNothing) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        dlg.Box()->AddString("alpha");
        dlg.Box()->SetFocus();
        QTest::keyClicks(Focus(), "ALP");
        QTest::keyClick(Focus(), Qt::Key_Return);
        EXPECT_EQ(dlg.Box()->GetCount(), 1);
        EXPECT_EQ(dlg.Box()->GetWindowText(), "ALP");
        EXPECT_EQ(dlg.Box()->GetCurSel(), -1);
    });
    EXPECT_EQ(dlg.m_log.back(), "go");
}

TEST(Dialog, TabGoesThroughTheTabStopsInTemplateOrder) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        const int forward[] = {IDC_LIST, IDC_BOX, IDC_COUNT, IDC_GO, IDC_OTHER, IDC_NUMBER};
        ASSERT_EQ(Focus(), WidgetOf(dlg.Number())) << "OnInitDialog's focus, as it returned FALSE";
        for (int id : forward) {
            QTest::keyClick(Focus(), Qt::Key_Tab);
            EXPECT_EQ(Focus(), WidgetOf(dlg.GetDlgItem(id))) << "Tab to " << id;
        }
        QTest::keyClick(Focus(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(Focus(), WidgetOf(dlg.Button(IDC_OTHER)));
        // A disabled tab stop is passed over.
        dlg.List()->EnableWindow(FALSE);
        dlg.Number()->SetFocus();
        QTest::keyClick(Focus(), Qt::Key_Tab);
        EXPECT_EQ(Focus(), WidgetOf(dlg.Box()));
    });
}

TEST(Dialog, MnemonicPressesAnEnabledButtonOnly) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        QTest::keyClick(Focus(), Qt::Key_S, Qt::AltModifier); // Stop starts disabled
        QTest::keyClick(Focus(), Qt::Key_G, Qt::AltModifier);
        ASSERT_TRUE(WaitFor([&] { return !dlg.m_log.empty(); }));
        dlg.Button(IDC_STOP)->EnableWindow(TRUE);
        QTest::keyClick(Focus(), Qt::Key_S, Qt::AltModifier);
        ASSERT_TRUE(WaitFor([&] { return dlg.m_log.size() == 2; }));
        dlg.Button(IDC_GO)->EnableWindow(FALSE);
        QTest::keyClick(Focus(), Qt::Key_G, Qt::AltModifier);
        QTest::qWait(300);
    });
    EXPECT_EQ(dlg.m_log, (Log{"go", "stop"}));
}

TEST(Dialog, SystemMenuHoldsTheAppendedItemsAndSendsSystemCommands) {
    DemoDlg dlg;
    dlg.m_bKeepClose = true;
    RunModal(dlg, [&] {
        QStringList texts;
        ChooseInMenu(Qt::Key_A, &texts);
        QTest::keyClick(Focus(), Qt::Key_Space, Qt::AltModifier);
        EXPECT_EQ(texts, (QStringList{"&Restore", "Mi&nimize", "-", "&Close\tAlt+F4", "-",
                                      "&About Demo..."}));
        // A right-click on the background opens it too.
        ChooseInMenu(Qt::Key_C);
        QWidget* window = WidgetOf(&dlg);
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, window->height() - 2),
                                window->mapToGlobal(QPoint(2, window->height() - 2)));
        QApplication::sendEvent(window, &click);
        // The window's own close request arrives the same way.
        window->close();
        EXPECT_TRUE(window->isVisible()) << "the dialog does not close by itself";
    });
    EXPECT_EQ(dlg.m_log, (Log{"syscommand 16", "syscommand 61536", "syscommand 61536"}));
}

TEST(Dialog, CloseWithoutAHandlerOfItsOwnIsTheCancelCommand) {
    DemoDlg dlg;
    EXPECT_EQ(RunModal(dlg, [&] { WidgetOf(&dlg)->close(); }), IDCANCEL);
    EXPECT_EQ(dlg.m_log, (Log{"syscommand 61536"}));
}

TEST(Dialog, MinimisedWindowIsAskedForItsIconAndPaint) {
    static const uint32_t kPixels[4] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF};
    static const AfxIconImage kImage[] = {{2, 2, kPixels, nullptr}};
    AfxRegisterIcon(1, kImage);
    DemoDlg dlg;
    RunModal(dlg, [&] {
        EXPECT_FALSE(dlg.IsIconic());
        dlg.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        EXPECT_TRUE(dlg.IsIconic());
        EXPECT_TRUE(WaitFor([&] { return dlg.m_log.size() >= 3; }));
        dlg.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
        EXPECT_FALSE(dlg.IsIconic());
    });
    ASSERT_GE(dlg.m_log.size(), 3u);
    EXPECT_EQ(dlg.m_log[0], "syscommand " + std::to_string(SC_MINIMIZE));
    EXPECT_EQ(dlg.m_log[1], "drag icon");
    EXPECT_EQ(dlg.m_log[2], "paint icon");
}

TEST(Dialog, WindowIsFixedCentredAndNamed) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        QWidget* window = WidgetOf(&dlg);
        EXPECT_EQ(window->windowTitle(), "Demo");
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_EQ(dlg.GetDlgItem(IDC_NUMBER)->GetAccessibleName(), "Number");
        EXPECT_EQ(dlg.GetDlgItem(IDC_BOX)->GetAccessibleName(), "Target");
        EXPECT_EQ(dlg.GetDlgItem(IDC_COUNT)->GetAccessibleName(), "Target")
            << "the label before it in the template";
        EXPECT_EQ(dlg.GetDlgItem(IDC_PANE)->GetAccessibleName(), "Output");
        EXPECT_EQ(dlg.GetDlgItem(IDC_OTHER)->GetAccessibleName(), "Other");
    });
}

TEST(Dialog, ControlHandlesExistFromDoModalOn) {
    DemoDlg dlg;
    EXPECT_EQ(dlg.GetDlgItem(IDC_NUMBER), nullptr) << "no controls before DoModal";
    RunModal(dlg, [] {});
    EXPECT_NE(dlg.GetDlgItem(IDC_NUMBER), nullptr) << "handles outlive the window";
}

} // namespace
