#include "history/target_history.h"

void CapTargetList(CTargetList& box) {
    while (box.GetCount() > HOST_LIST_MAX)
        box.DeleteString(box.GetCount() - 1);
}

void TypeAheadTarget(CTargetList& box, CString& strTyped) {
    const CString text = box.GetText();
    int caret = 0;
    int selEnd = 0;
    box.GetEditSel(caret, selEnd);

    // Right after the box was emptied or a run started, a change that leaves
    // more than one character is an edit of a whole target, not typing.
    if (strTyped.empty() && text.size() > 1)
        strTyped = text;

    if (text.size() > strTyped.size()) {
        strTyped = text;
        // The completed remainder is highlighted, so the next character
        // typed replaces it.
        if (box.SelectString(strTyped) >= 0) {
            box.SetEditSel(caret, -1);
            return;
        }
    } else {
        strTyped = text; // a deletion, or a replacement no longer than before
    }
    box.SetText(strTyped);
    box.SetEditSel(caret, caret);
}
