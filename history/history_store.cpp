#include "history/history_file.h"
#include "history/target_history.h"

#include "framework/message_box.h"

namespace {

const char kReadError[] =
    "File Access error: Unable to read tovra.dat. File already inuse or marked readonly.";
const char kWriteError[] = "File Access error: Unable to write to tovra.dat. File in use.";

// Space, tab, LF, VT, FF and CR; never a byte above 0x7F.
bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

CString WithoutLeadingSpace(const CString& text) {
    size_t start = 0;
    while (start < text.size() && IsSpace(text[start]))
        ++start;
    return text.substr(start);
}

void WriteTarget(CHistoryWriter& file, const CString& text) {
    const CString line = WithoutLeadingSpace(text);
    if (!line.empty())
        file.WriteLine(line);
}

} // namespace

void LoadHistory(CTargetList& box) {
    std::vector<CString> lines;
    if (!ReadHistoryFile(FindHistoryFile(), lines)) {
        AfxMessageBox(kReadError, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!lines.empty()) {
        // The first line is what the box shows, taken as it stands.
        box.SetText(CString());
        if (!lines[0].empty()) {
            box.SetText(lines[0]);
            box.AddString(lines[0]);
        }
        box.SetFocus();
    }
    for (size_t i = 1; i < lines.size(); ++i) {
        const CString target = WithoutLeadingSpace(lines[i]);
        if (!target.empty())
            box.AddString(target);
    }
    box.SetItemData(-1, HOST_KEEP_MARK);
}

void SaveHistory(CTargetList& box, const CString& strLastGood) {
    CHistoryWriter file;
    if (!file.Open(FindHistoryFile())) {
        AfxMessageBox(kWriteError, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // The last good target goes first, in the box's own letters, when the box
    // still shows exactly it.
    const CString text = box.GetText();
    if (text == strLastGood) {
        const int index = box.FindStringExact(text);
        if (index >= 0) {
            const bool marked = box.GetItemData(index) == HOST_KEEP_MARK;
            box.DeleteString(index);
            if (marked)
                WriteTarget(file, text);
        }
    }
    for (int i = 0; i < box.GetCount(); ++i) {
        if (box.GetItemData(i) == HOST_KEEP_MARK)
            WriteTarget(file, box.GetLBText(i));
    }
    if (!file.Commit())
        AfxMessageBox(kWriteError, MB_OK | MB_ICONINFORMATION);
}
