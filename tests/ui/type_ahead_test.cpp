// Type-ahead in the target box with real key events, against the entries
// server1.example and smtp.example of a history file whose empty first line
// leaves the box empty.
#include "tests/ui/ui_fixture.h"

#include "ui/resource.h"

#include <QApplication>
#include <QClipboard>

namespace {

struct Step {
    const char* input; // what the user does, for the failure message
    std::function<void()> act;
    CString text; // the box's text afterwards
    int start;    // and its selection
    int end;
};

Step Typed(const char* chars, const CString& text, int start, int end) {
    return {chars, [chars] { Type(chars); }, text, start, end};
}

Step Pressed(const char* name, Qt::Key key, const CString& text, int start, int end) {
    return {name, [key] { Key(key); }, text, start, end};
}

Step Pasted(const char* chars, const CString& text, int start, int end) {
    return {chars,
            [chars] {
                QApplication::clipboard()->setText(chars);
                Key(Qt::Key_V, Qt::ControlModifier);
            },
            text, start, end};
}

struct Case {
    const char* name;
    std::vector<Step> steps;
};

using TypeAhead = DialogTest;

TEST_F(TypeAhead, CompletesFromTheListAsTheUserTypes) {
    const Case cases[] = {
        {"the list's own sequence",
         {Typed("s", "server1.example", 1, 15), Typed("m", "smtp.example", 2, 12),
          Pressed("Backspace", Qt::Key_Backspace, "sm", 2, 2),
          Pressed("Backspace", Qt::Key_Backspace, "s", 1, 1),
          Typed("e", "server1.example", 2, 15)}},
        {"capital letters show the entry's own",
         {Typed("S", "server1.example", 1, 15), Typed("E", "server1.example", 2, 15)}},
        {"a paste of two characters completes nothing but sets the prefix",
         {Pasted("sm", "sm", 2, 2), Typed("t", "smtp.example", 3, 12)}},
        {"a prefix nothing begins with stays, the caret where it was",
         {Typed("s", "server1.example", 1, 15), Typed("x", "sx", 2, 2),
          Pressed("Home", Qt::Key_Home, "sx", 0, 0), Typed("a", "asx", 1, 1)}},
    };
    for (const Case& c : cases) {
        WriteHistory("\r\nserver1.example\r\nsmtp.example\r\n");
        CConnectDlg dlg;
        Run(dlg, [&] {
            CComboBox* box = Combo(dlg, IDC_TARGET);
            ASSERT_EQ(box->GetWindowText(), "");
            ASSERT_EQ(Focus(), Widget(dlg, IDC_TARGET));
            for (const Step& step : c.steps) {
                step.act();
                int start = -1;
                int end = -1;
                box->GetEditSel(start, end);
                EXPECT_EQ(box->GetWindowText(), step.text) << c.name << ", after " << step.input;
                EXPECT_EQ(start, step.start) << c.name << ", after " << step.input;
                EXPECT_EQ(end, step.end) << c.name << ", after " << step.input;
            }
            EXPECT_EQ(Entries(box), (std::vector<CString>{"server1.example", "smtp.example"}))
                << c.name << ": typing adds nothing";
        });
    }
}

} // namespace
