// The controls' operations and notifications, each with its counterpart that
// must not notify.
#include "tests/framework/demo_dialog.h"
#include "tests/framework/qt_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

QWidget* Focus() {
    return QApplication::focusWidget();
}

QLineEdit* EditOf(CComboBox* box) {
    return qobject_cast<QComboBox*>(WidgetOf(box))->lineEdit();
}

std::vector<CString> Entries(CComboBox* box) {
    std::vector<CString> entries;
    for (int i = 0; i < box->GetCount(); ++i)
        entries.push_back(box->GetLBText(i));
    return entries;
}

TEST(ComboBox, SortedAddingIgnoresCaseAndTopInsertionStaysOutsideTheOrder) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        CComboBox* box = dlg.Box();
        for (const char* text : {"delta", "Alpha", "charlie", "Bravo"})
            box->AddString(text);
        EXPECT_EQ(box->InsertString(0, "zulu"), 0);
        EXPECT_EQ(box->AddString("beta"), 2);
        EXPECT_EQ(Entries(box),
                  (std::vector<CString>{"zulu", "Alpha", "beta", "Bravo", "charlie", "delta"}));
        EXPECT_EQ(box->GetCurSel(), -1) << "adding selects nothing";
        EXPECT_EQ(box->GetWindowText(), "");
        // The drop-down list, unsorted, appends.
        EXPECT_EQ(dlg.List()->AddString("A"), 3);
    });
    EXPECT_EQ(dlg.m_log, Log{}) << "the program's own changes notify nothing";
}

TEST(ComboBox, FindsIgnoreCaseAndSearchRoundFromTheStart) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        CComboBox* box = dlg.Box();
        for (const char* text : {"server1.example", "smtp.example", "Server2.example"})
            box->AddString(text);
        struct Case {
            const char* text;
            int start;
            int prefix;
            int exact;
        };
        const Case cases[] = {
            {"SERVER", -1, 0, CB_ERR}, {"server2.EXAMPLE", -1, 1, 1}, {"s", 0, 1, CB_ERR},
            {"server1", 1, 0, CB_ERR}, {"smtp.example", 2, 2, 2},     {"x", -1, CB_ERR, CB_ERR},
        };
        for (const Case& c : cases) {
            EXPECT_EQ(box->FindString(c.start, c.text), c.prefix) << c.text << " after " << c.start;
            EXPECT_EQ(box->FindStringExact(c.start, c.text), c.exact)
                << c.text << " after " << c.start;
        }
    });
}

TEST(ComboBox, ItemDataSelectionAndDeletion) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        CComboBox* box = dlg.Box();
        for (const char* text : {"a", "b", "c"})
            box->AddString(text);
        EXPECT_EQ(box->GetItemData(1), 0u) << "new entries carry 0";
        box->SetItemData(-1, 0xFEFE);
        box->SetItemData(2, 7);
        EXPECT_EQ(box->GetItemData(0), 0xFEFEu);
        EXPECT_EQ(box->GetItemData(2), 7u);
        EXPECT_EQ(box->GetItemData(3), DWORD_PTR(CB_ERR));

        EXPECT_EQ(box->SelectString(-1, "B"), 1);
        EXPECT_EQ(box->GetWindowText(), "b") << "the entry's own text";
        EXPECT_EQ(box->SelectString(-1, "q"), CB_ERR);
        EXPECT_EQ(box->GetCurSel(), 1) << "no match changes nothing";
        box->SetWindowText("typed");
        EXPECT_EQ(box->GetCurSel(), 1);

        EXPECT_EQ(box->DeleteString(0), 2);
        EXPECT_EQ(box->GetCurSel(), 0) << "the selected entry moved up";
        EXPECT_EQ(box->DeleteString(0), 1);
        EXPECT_EQ(box->GetCurSel(), -1) << "deleting the selected entry leaves none";
        EXPECT_EQ(box->GetWindowText(), "typed");
        EXPECT_EQ(box->DeleteString(5), CB_ERR);
    });
    EXPECT_EQ(dlg.m_log, Log{});
}

TEST(ComboBox, SelEndOkForEveryChoiceOfTheUserNeverForTheProgramsOwn) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        dlg.List()->SetCurSel(2);
        dlg.List()->SetFocus();
        QTest::keyClick(Focus(), Qt::Key_Up);
        // The list, opened and closed on the entry already chosen.
        auto* combo = qobject_cast<QComboBox*>(WidgetOf(dlg.List()));
        combo->showPopup();
        ASSERT_TRUE(WaitFor([&] { return combo->view()->isVisible(); }));
        QTest::keyClick(combo->view(), Qt::Key_Return);
        // Opened and closed without a choice.
        combo->showPopup();
        ASSERT_TRUE(WaitFor([&] { return combo->view()->isVisible(); }));
        QTest::keyClick(combo->view(), Qt::Key_Escape);
        ASSERT_TRUE(WaitFor([&] { return !combo->view()->isVisible(); }));
    });
    EXPECT_EQ(dlg.m_log, (Log{"pick 1", "pick 1"}));
}

TEST(ComboBox, EditUpdateAfterEachEditOfTheUserWithTheCaretWhereItLeftIt) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        CComboBox* box = dlg.Box();
        box->AddString("entry");
        box->SetCurSel(0);
        box->SetWindowText("set by program");
        box->SetFocus();
        QLineEdit* edit = EditOf(box);
        edit->setCursorPosition(3);
        QTest::keyClick(Focus(), Qt::Key_X);
        EXPECT_EQ(box->GetCurSel(), -1) << "an edit leaves no entry selected";
        QTest::keyClick(Focus(), Qt::Key_Backspace);
        QTest::keyClick(Focus(), Qt::Key_Delete);
        QApplication::clipboard()->setText("PQ");
        edit->setSelection(0, 2);
        QTest::keyClick(Focus(), Qt::Key_V, Qt::ControlModifier);
        edit->setSelection(0, 1);
        QTest::keyClick(Focus(), Qt::Key_X, Qt::ControlModifier);
    });
    EXPECT_EQ(dlg.m_log,
              (Log{"edit setx by program 4", "edit set by program 3", "edit setby program 3",
                   "edit PQtby program 2", "edit Qtby program 0"}));
}

TEST(ComboBox, CompletionSelectsTheAddedPartAndTypingReplacesIt) {
    DemoDlg dlg;
    dlg.m_bComplete = true;
    RunModal(dlg, [&] {
        CComboBox* box = dlg.Box();
        box->AddString("smtp.example");
        box->AddString("server1.example");
        box->SetFocus();
        int start = 0;
        int end = 0;
        QTest::keyClick(Focus(), Qt::Key_S);
        EXPECT_EQ(box->GetWindowText(), "server1.example");
        box->GetEditSel(start, end);
        EXPECT_EQ(start, 1);
        EXPECT_EQ(end, 15);
        EXPECT_EQ(box->GetCurSel(), 0) << "the completion selects its entry";
        QTest::keyClick(Focus(), Qt::Key_M);
        EXPECT_EQ(box->GetWindowText(), "smtp.example");
        box->GetEditSel(start, end);
        EXPECT_EQ(start, 2);
        EXPECT_EQ(end, 12);
        QTest::keyClick(Focus(), Qt::Key_Backspace);
        EXPECT_EQ(box->GetWindowText(), "sm");
        box->SetEditSel(0, -1);
        box->GetEditSel(start, end);
        EXPECT_EQ(start, 0);
        EXPECT_EQ(end, 2);
    });
    EXPECT_EQ(dlg.m_log, (Log{"edit s 1", "edit sm 2", "edit sm 2"}));
}

TEST(ComboBox, KillFocusWhenTheFocusLeavesNotWhenItsListOpens) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        dlg.Box()->AddString("a");
        dlg.Box()->SetFocus();
        auto* combo = qobject_cast<QComboBox*>(WidgetOf(dlg.Box()));
        combo->showPopup();
        ASSERT_TRUE(WaitFor([&] { return combo->view()->isVisible(); }));
        combo->hidePopup();
        ASSERT_TRUE(WaitFor([&] { return Focus() == combo; }));
        QTest::keyClick(Focus(), Qt::Key_Tab);
    });
    EXPECT_EQ(dlg.m_log, (Log{"leave box"}));
}

TEST(ComboBox, LimitAppliesToTypingNotToTheProgramsText) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        CComboBox* box = dlg.Box();
        box->LimitText(3);
        box->SetFocus();
        QTest::keyClicks(Focus(), "abcd");
        EXPECT_EQ(box->GetWindowText(), "abc");
        box->SetWindowText("longer than three");
        EXPECT_EQ(box->GetWindowText(), "longer than three");
        QTest::keyClick(Focus(), Qt::Key_Backspace);
        EXPECT_EQ(box->GetWindowText(), "longer than thre") << "shortening stays possible";
    });
}

TEST(Edit, DigitsOnlyForTypingPastingAnything) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        CEdit* number = dlg.Number();
        QTest::keyClicks(Focus(), "1a-2 ");
        EXPECT_EQ(number->GetWindowText(), "12");
        QApplication::clipboard()->setText("x9");
        QTest::keyClick(Focus(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(number->GetWindowText(), "12x9");

        number->SetReadOnly(TRUE);
        EXPECT_TRUE(number->IsReadOnly());
        QTest::keyClicks(Focus(), "3");
        EXPECT_EQ(number->GetWindowText(), "12x9");
        number->SetReadOnly(FALSE);
        number->SetLimitText(5);
        QTest::keyClicks(Focus(), "345");
        EXPECT_EQ(number->GetWindowText(), "12x93");
    });
}

TEST(Edit, OutputPaneKeepsItsTextByteForByteAndScrollsDown) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        CEdit* pane = dlg.Pane();
        const CString text = "one\r\n\ttwo\xE9\r\n";
        pane->SetWindowText(text);
        EXPECT_EQ(pane->GetWindowText(), text);
        EXPECT_EQ(pane->GetLineCount(), 3);

        CString many;
        for (int i = 0; i < 60; ++i)
            many += "line " + std::to_string(i) + "\r\n";
        pane->SetWindowText(many);
        EXPECT_GE(pane->GetLineCount(), 61);
        auto* widget = static_cast<QPlainTextEdit*>(WidgetOf(pane));
        EXPECT_EQ(widget->verticalScrollBar()->value(), 0);
        EXPECT_TRUE(pane->LineScroll(pane->GetLineCount()));
        EXPECT_EQ(widget->verticalScrollBar()->value(), widget->verticalScrollBar()->maximum());
        EXPECT_GT(widget->verticalScrollBar()->maximum(), 0);
        EXPECT_TRUE(widget->isReadOnly());
    });
}

TEST(Trackbar, TicksAtTheGivenPositionsAndBothEnds) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        CSliderCtrl* count = dlg.Count();
        for (int tic : {1, 2, 3, 4})
            count->SetTic(tic);
        count->SetRange(0, 4);
        EXPECT_EQ(count->GetNumTics(), 5);
        EXPECT_EQ(count->GetPos(), 0);
        count->SetFocus();
        QTest::keyClick(Focus(), Qt::Key_Right);
        QTest::keyClick(Focus(), Qt::Key_End);
        EXPECT_EQ(count->GetPos(), 4);
        count->SetRange(0, 2);
        EXPECT_EQ(count->GetNumTics(), 3) << "ticks beyond the range are not drawn";
    });
}

} // namespace
