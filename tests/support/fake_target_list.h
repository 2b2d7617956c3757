// An in-memory target box for tests of the history store and the probe run.
// It behaves as the dialog's combo box does where those rely on it: adding or
// inserting never selects, deleting the selected entry leaves none selected,
// SelectString copies the entry's text into the field, and text set by the
// program is not an edit by the user.
#pragma once

#include "history/target_list.h"

#include <mutex>
#include <vector>

class FakeTargetList : public CTargetList {
public:
    struct Entry {
        CString text;
        uint32_t data = 0;
        bool operator==(const Entry&) const = default;
    };

    CString GetText() override;
    void SetText(const CString& text) override;
    void GetEditSel(int& start, int& end) override;
    void SetEditSel(int start, int end) override;
    int GetCount() override;
    int AddString(const CString& text) override;
    int InsertString(int index, const CString& text) override;
    void DeleteString(int index) override;
    CString GetLBText(int index) override;
    uint32_t GetItemData(int index) override;
    void SetItemData(int index, uint32_t data) override;
    int FindStringExact(const CString& text) override;
    int FindString(const CString& prefix) override;
    int SelectString(const CString& prefix) override;
    int GetCurSel() override;
    void SetCurSel(int index) override;
    void SetFocus() override;

    // What a user's edit with the list closed leaves: the new text, the caret
    // at caret, and no entry selected.
    void UserEdit(const CString& text, int caret);

    std::vector<Entry> Entries();
    std::vector<CString> Texts();
    int FocusCount();

private:
    bool Valid(int index) const { return index >= 0 && index < int(m_entries.size()); }
    int Insert(int index, const CString& text);

    std::mutex m_mutex; // the probe run calls from its worker thread
    std::vector<Entry> m_entries;
    CString m_text;
    int m_selStart = 0;
    int m_selEnd = 0;
    int m_curSel = -1;
    int m_focusCount = 0;
};
