#include "ui/target_box.h"

#include "framework/controls.h"

// Searches start from the top: -1 as the entry to start after.

CString CTargetBox::GetText() {
    return m_pBox->GetWindowText();
}
void CTargetBox::SetText(const CString& text) {
    m_pBox->SetWindowText(text);
}
void CTargetBox::GetEditSel(int& start, int& end) {
    m_pBox->GetEditSel(start, end);
}
void CTargetBox::SetEditSel(int start, int end) {
    m_pBox->SetEditSel(start, end);
}
int CTargetBox::GetCount() {
    return m_pBox->GetCount();
}
int CTargetBox::AddString(const CString& text) {
    return m_pBox->AddString(text);
}
int CTargetBox::InsertString(int index, const CString& text) {
    return m_pBox->InsertString(index, text);
}
void CTargetBox::DeleteString(int index) {
    if (index >= 0)
        m_pBox->DeleteString(UINT(index));
}
CString CTargetBox::GetLBText(int index) {
    return m_pBox->GetLBText(index);
}
uint32_t CTargetBox::GetItemData(int index) {
    return uint32_t(m_pBox->GetItemData(index));
}
void CTargetBox::SetItemData(int index, uint32_t data) {
    m_pBox->SetItemData(index, data);
}
int CTargetBox::FindStringExact(const CString& text) {
    return m_pBox->FindStringExact(-1, text);
}
int CTargetBox::FindString(const CString& prefix) {
    return m_pBox->FindString(-1, prefix);
}
int CTargetBox::SelectString(const CString& prefix) {
    return m_pBox->SelectString(-1, prefix);
}
int CTargetBox::GetCurSel() {
    return m_pBox->GetCurSel();
}
void CTargetBox::SetCurSel(int index) {
    m_pBox->SetCurSel(index);
}
void CTargetBox::SetFocus() {
    m_pBox->SetFocus();
}
