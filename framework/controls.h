// Thin handles on a dialog's controls, as CDialog::GetDlgItem gives them:
//
//   auto* box = static_cast<CComboBox*>(GetDlgItem(IDC_TARGET));
//   box->LimitText(255);
//
// The dialog creates each control's handle with the class of its kind (an
// Edit item gives a CEdit, a ComboBox item a CComboBox, and so on). Like every
// CWnd operation, these may be called from any thread (see wnd.h). Indices
// count from 0; CB_ERR (-1) means none or failure.
#pragma once

#include "framework/wnd.h"

// Single-line edit, or the multi-line output pane (ES_MULTILINE). Text set by
// the program is taken whole, whatever the limit.
class CEdit : public CWnd {
public:
    // The most characters the user may enter; 0: no limit of its own.
    void SetLimitText(UINT nMax);
    void LimitText(int nChars = 0) { SetLimitText(UINT(nChars)); }
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    BOOL IsReadOnly() const;

    // Multi-line: the lines of the text (1 for an empty text).
    int GetLineCount() const;
    // Multi-line: scrolls the view down (up when negative) by nLines lines.
    BOOL LineScroll(int nLines, int nChars = 0);
    // Multi-line: tab stops every 32 dialog units (they always are).
    void SetTabStops() {}
    // Multi-line: soft line breaks are not kept; the text reads as it was set.
    BOOL FmtLines(BOOL) { return TRUE; }
};

// Drop-down combo box with an edit field (CBS_DROPDOWN), or drop-down list
// (CBS_DROPDOWNLIST). Adding or inserting an entry never selects one; an edit
// by the user while the list is closed leaves no entry selected.
// Notifications: CBN_SELENDOK when the user commits a choice (the one already
// chosen included), never for the program's own selection; CBN_EDITUPDATE
// after each change the user makes in the edit field, with the caret where
// the change left it, never for text the program sets; CBN_KILLFOCUS.
class CComboBox : public CWnd {
public:
    // At the sorted place with CBS_SORT, letter case ignored; else at the end.
    int AddString(const CString& text);
    // At nIndex (-1: the end), outside the sorted order.
    int InsertString(int nIndex, const CString& text);
    // Returns the entries left, or CB_ERR.
    int DeleteString(UINT nIndex);
    int GetCount() const;

    int GetCurSel() const;
    // Selects nSelect (-1: none) and shows its text; CB_ERR for -1 or a bad index.
    int SetCurSel(int nSelect);
    int GetLBText(int nIndex, CString& text) const; // the length, or CB_ERR
    CString GetLBText(int nIndex) const;
    int GetLBTextLen(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;     // DWORD_PTR(CB_ERR) for a bad index
    int SetItemData(int nIndex, DWORD_PTR data); // nIndex -1: every entry

    // Searches ignoring letter case, from the entry after nStartAfter (-1:
    // from the top) round to the start: the first entry whose text begins
    // with prefix, or equals text.
    int FindString(int nStartAfter, const CString& prefix) const;
    int FindStringExact(int nIndexStart, const CString& text) const;
    // Selects the entry FindString finds and copies its whole text into the
    // edit field; CB_ERR and no change when there is none.
    int SelectString(int nStartAfter, const CString& prefix);

    // The edit field's selection; a caret is an empty one.
    void GetEditSel(int& start, int& end) const;
    // end -1: the end of the text; start -1: no selection.
    BOOL SetEditSel(int nStartChar, int nEndChar);
    BOOL LimitText(int nMaxChars); // 0: no limit of its own
};

// Trackbar. It draws a tick at each position set with SetTic and at both ends.
class CSliderCtrl : public CWnd {
public:
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    BOOL SetTic(int nTic);
    // The positions that carry a tick, the two ends included.
    int GetNumTics() const;
    int GetPos() const;
    void SetPos(int nPos);
};

// Push button. Alt with its mnemonic presses it, unless it is disabled.
class CButton : public CWnd {
public:
    // The image of a BS_ICON button; returns the one it replaces.
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

// Static text, frame or icon.
class CStatic : public CWnd {
public:
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};
