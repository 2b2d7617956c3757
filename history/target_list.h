// The target box as the history store and the probe run see it: a drop-down
// combo box with a text field and a sorted list of host texts, each entry with
// 32-bit item data. Indices count from 0 at the top; -1 means none. Searches
// run over the whole list from the top and ignore letter case. The dialog
// implements this on its real control; tests use a model of their own.
#pragma once

#include "framework/afx_types.h"

#include <cstdint>

// Item data of an entry that the history file keeps.
constexpr uint32_t HOST_KEEP_MARK = 0xFEFE;
// The most entries the list holds after the box has lost the focus.
constexpr int HOST_LIST_MAX = 50;

class CTargetList {
public:
    virtual ~CTargetList() = default;

    // The text field. Text set here is not an edit by the user.
    virtual CString GetText() = 0;
    virtual void SetText(const CString& text) = 0;
    virtual void GetEditSel(int& start, int& end) = 0;
    virtual void SetEditSel(int start, int end) = 0; // end -1: the end of the text

    // The list.
    virtual int GetCount() = 0;
    virtual int AddString(const CString& text) = 0; // at its sorted place
    virtual int InsertString(int index, const CString& text) = 0; // outside the order
    virtual void DeleteString(int index) = 0;
    virtual CString GetLBText(int index) = 0;
    virtual uint32_t GetItemData(int index) = 0;
    virtual void SetItemData(int index, uint32_t data) = 0; // index -1: every entry
    virtual int FindStringExact(const CString& text) = 0;
    virtual int FindString(const CString& prefix) = 0;
    // Selects the first entry beginning with prefix and copies its whole text
    // into the text field; the index, or -1 (nothing changes).
    virtual int SelectString(const CString& prefix) = 0;
    virtual int GetCurSel() = 0;
    virtual void SetCurSel(int index) = 0;

    virtual void SetFocus() = 0;
};
