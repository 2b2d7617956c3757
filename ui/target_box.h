// The target box as the history store and the probe run use it, on the
// dialog's real combo box.
#pragma once

#include "history/target_list.h"

class CComboBox;

class CTargetBox : public CTargetList {
public:
    void Attach(CComboBox* box) { m_pBox = box; }

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

private:
    CComboBox* m_pBox = nullptr;
};
