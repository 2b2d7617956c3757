// The type-ahead step over random edit sequences on a model of the target
// box: a list from the input, then typing, Backspace, Delete, pasting,
// emptying, caret moves and Connect's insertion at the top, each edit
// followed by the step as the box's change notification runs it.
#include "framework/afx_types.h"
#include "fuzz/fuzz_check.h"
#include "history/target_history.h"
#include "tests/support/fake_target_list.h"

#include <strings.h>

#include <cstddef>

namespace {

// A small alphabet in both cases, so that prefixes meet often.
const char kLetters[] = "abeSE.1-x";
constexpr size_t kBoxLimit = 255; // the box takes no more characters

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_at < m_size; }
    uint8_t Byte() { return More() ? m_data[m_at++] : 0; }
    char Letter() { return kLetters[Byte() % (sizeof kLetters - 1)]; }
    CString Word(size_t most) {
        CString word;
        for (size_t n = Byte() % (most + 1); n > 0; --n)
            word += Letter();
        return word;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

bool StartsWithNoCase(const CString& text, const CString& prefix) {
    return text.size() >= prefix.size() &&
           strncasecmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

// Replaces the selection with what the user typed or pasted; false when the
// box would refuse it.
bool ReplaceSelection(CString& text, int& start, int end, const CString& with) {
    if (text.size() - size_t(end - start) + with.size() > kBoxLimit)
        return false;
    text.replace(size_t(start), size_t(end - start), with);
    start += int(with.size());
    return true;
}

// One edit by the user; true when it changed the text, which is when the
// box notifies.
bool Edit(FakeTargetList& box, CString& typed, Input& in) {
    CString text = box.GetText();
    int start = 0;
    int end = 0;
    box.GetEditSel(start, end);
    FUZZ_CHECK(0 <= start && start <= end && end <= int(text.size()));
    switch (in.Byte() % 8) {
    case 0:
    case 1: // typing one character
        if (!ReplaceSelection(text, start, end, CString(1, in.Letter())))
            return false;
        break;
    case 2: // Backspace
        if (start == end && start == 0)
            return false;
        start = start == end ? start - 1 : start;
        text.erase(size_t(start), size_t(end - start));
        break;
    case 3: // Delete
        if (start == end && end == int(text.size()))
            return false;
        end = start == end ? end + 1 : end;
        text.erase(size_t(start), size_t(end - start));
        break;
    case 4: // pasting
        if (!ReplaceSelection(text, start, end, in.Word(6)))
            return false;
        break;
    case 5: // everything selected and deleted
        if (text.empty())
            return false;
        text.clear();
        start = 0;
        break;
    case 6: { // the caret moved: no change, no notification
        const int at = int(in.Byte() % (text.size() + 1));
        box.SetEditSel(at, at);
        return false;
    }
    default: // Connect: the text goes on top when new, and the prefix empties
        if (!text.empty() && box.FindStringExact(text) < 0)
            box.InsertString(0, text);
        typed.clear();
        return false;
    }
    box.UserEdit(text, start);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    FakeTargetList box;
    for (int n = in.Byte() % 8; n > 0; --n) {
        const CString entry = in.Word(12);
        if (!entry.empty())
            box.AddString(entry);
    }
    box.SetItemData(-1, HOST_KEEP_MARK);
    CString typed;
    while (in.More()) {
        if (!Edit(box, typed, in))
            continue;
        const CString edited = box.GetText();
        int caret = 0;
        int ignored = 0;
        box.GetEditSel(caret, ignored);

        TypeAheadTarget(box, typed);

        // The prefix is the text as the user left it, and what the box shows
        // is either that text with the caret where it was, or an entry that
        // begins with it, its added part selected from the caret on.
        FUZZ_CHECK(typed == edited);
        const CString shown = box.GetText();
        int start = 0;
        int end = 0;
        box.GetEditSel(start, end);
        if (shown == edited && box.GetCurSel() < 0) {
            FUZZ_CHECK(start == caret && end == caret);
        } else {
            const int index = box.GetCurSel();
            FUZZ_CHECK(index >= 0 && box.GetLBText(index) == shown);
            FUZZ_CHECK(StartsWithNoCase(shown, edited));
            FUZZ_CHECK(start == caret && end == int(shown.size()));
        }
    }
    return 0;
}
