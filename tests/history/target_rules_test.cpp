#include "history/target_history.h"
#include "tests/support/fake_target_list.h"

#include <gtest/gtest.h>

namespace {

struct Shown {
    CString text;
    int selStart;
    int selEnd;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown) {
    return out << '"' << shown.text << "\" [" << shown.selStart << ", " << shown.selEnd << ")";
}

// One edit by the user: the text and caret it leaves, and what the box shows
// once the type-ahead step has run.
struct Edit {
    CString text;
    int caret;
    Shown expected;
};

struct TypeAheadCase {
    const char* name;
    CString initialText;
    std::vector<Edit> edits;
};

class TypeAheadTest : public testing::TestWithParam<TypeAheadCase> {};

TEST_P(TypeAheadTest, ShowsWhatTheUserExpects) {
    FakeTargetList box;
    box.AddString("smtp.example");
    box.AddString("server1.example");
    box.SetText(GetParam().initialText);
    CString typed;
    for (const Edit& edit : GetParam().edits) {
        box.UserEdit(edit.text, edit.caret);
        TypeAheadTarget(box, typed);
        Shown shown{box.GetText(), 0, 0};
        box.GetEditSel(shown.selStart, shown.selEnd);
        EXPECT_EQ(shown, edit.expected) << "after \"" << edit.text << "\"";
        // A completion selects the entry it took its text from.
        const bool completed = shown.text != edit.text;
        EXPECT_EQ(box.GetCurSel(), completed ? box.FindStringExact(shown.text) : -1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, TypeAheadTest,
    testing::Values(
        TypeAheadCase{"TypeThenBackspace",
                      "",
                      {{"s", 1, {"server1.example", 1, 15}},
                       {"sm", 2, {"smtp.example", 2, 12}},
                       {"sm", 2, {"sm", 2, 2}}, // Backspace takes the highlighted part
                       {"s", 1, {"s", 1, 1}},
                       {"se", 2, {"server1.example", 2, 15}}}},
        TypeAheadCase{"PasteIntoEmptyBoxCompletesNothing",
                      "",
                      {{"sm", 2, {"sm", 2, 2}}, {"smt", 3, {"smtp.example", 3, 12}}}},
        TypeAheadCase{
            "PrefixNothingBeginsWith", "", {{"x", 1, {"x", 1, 1}}, {"xsm", 1, {"xsm", 1, 1}}}},
        TypeAheadCase{
            "CapitalsShowTheEntrysLetters",
            "",
            {{"S", 1, {"server1.example", 1, 15}}, {"SE", 2, {"server1.example", 2, 15}}}},
        // The prefix is the whole text; the highlight starts at the caret.
        TypeAheadCase{"InsertBeforeTheEnd",
                      "",
                      {{"stp", 3, {"stp", 3, 3}}, {"smtp", 2, {"smtp.example", 2, 12}}}},
        // Editing the target the box shows does not complete until the box
        // has been emptied.
        TypeAheadCase{"EditOfShownTarget",
                      "server1.example",
                      {{"server1.exampl", 14, {"server1.exampl", 14, 14}},
                       {"server1.exampleX", 16, {"server1.exampleX", 16, 16}},
                       {"", 0, {"", 0, 0}},
                       {"s", 1, {"server1.example", 1, 15}}}}),
    [](const testing::TestParamInfo<TypeAheadCase>& info) { return info.param.name; });

TEST(CapTargetListTest, KeepsTheFirstEntriesMarkedOrNot) {
    for (int count : {0, HOST_LIST_MAX, HOST_LIST_MAX + 1, 60}) {
        FakeTargetList box;
        std::vector<FakeTargetList::Entry> all;
        for (int i = 0; i < count; ++i) {
            char text[32];
            snprintf(text, sizeof text, "h%03d.example", i);
            box.AddString(text);
            const uint32_t data = i % 2 ? HOST_KEEP_MARK : 0;
            box.SetItemData(i, data);
            all.push_back({text, data});
        }
        CapTargetList(box);
        all.resize(std::min(count, HOST_LIST_MAX));
        EXPECT_EQ(box.Entries(), all) << count << " entries";
    }
}

} // namespace
