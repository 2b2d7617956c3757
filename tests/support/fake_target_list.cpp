#include "tests/support/fake_target_list.h"

#include <strings.h>

namespace {

bool StartsWithNoCase(const CString& text, const CString& prefix) {
    return text.size() >= prefix.size() &&
           strncasecmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

} // namespace

CString FakeTargetList::GetText() {
    std::lock_guard lock(m_mutex);
    return m_text;
}

void FakeTargetList::SetText(const CString& text) {
    std::lock_guard lock(m_mutex);
    m_text = text;
    m_selStart = m_selEnd = 0;
}

void FakeTargetList::GetEditSel(int& start, int& end) {
    std::lock_guard lock(m_mutex);
    start = m_selStart;
    end = m_selEnd;
}

void FakeTargetList::SetEditSel(int start, int end) {
    std::lock_guard lock(m_mutex);
    const int length = int(m_text.size());
    m_selStart = start < 0 || start > length ? length : start;
    m_selEnd = end < 0 || end > length ? length : end;
}

int FakeTargetList::GetCount() {
    std::lock_guard lock(m_mutex);
    return int(m_entries.size());
}

int FakeTargetList::Insert(int index, const CString& text) {
    m_entries.insert(m_entries.begin() + index, Entry{text, 0});
    if (m_curSel >= index)
        ++m_curSel;
    return index;
}

int FakeTargetList::AddString(const CString& text) {
    std::lock_guard lock(m_mutex);
    int index = 0;
    while (index < int(m_entries.size()) &&
           strcasecmp(m_entries[index].text.c_str(), text.c_str()) <= 0)
        ++index;
    return Insert(index, text);
}

int FakeTargetList::InsertString(int index, const CString& text) {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index > int(m_entries.size()))
        index = int(m_entries.size());
    return Insert(index, text);
}

void FakeTargetList::DeleteString(int index) {
    std::lock_guard lock(m_mutex);
    if (!Valid(index))
        return;
    m_entries.erase(m_entries.begin() + index);
    if (m_curSel == index)
        m_curSel = -1;
    else if (m_curSel > index)
        --m_curSel;
}

CString FakeTargetList::GetLBText(int index) {
    std::lock_guard lock(m_mutex);
    return Valid(index) ? m_entries[index].text : CString();
}

uint32_t FakeTargetList::GetItemData(int index) {
    std::lock_guard lock(m_mutex);
    return Valid(index) ? m_entries[index].data : 0;
}

void FakeTargetList::SetItemData(int index, uint32_t data) {
    std::lock_guard lock(m_mutex);
    if (index == -1) {
        for (Entry& entry : m_entries)
            entry.data = data;
    } else if (Valid(index)) {
        m_entries[index].data = data;
    }
}

int FakeTargetList::FindStringExact(const CString& text) {
    std::lock_guard lock(m_mutex);
    for (int i = 0; i < int(m_entries.size()); ++i)
        if (strcasecmp(m_entries[i].text.c_str(), text.c_str()) == 0)
            return i;
    return -1;
}

int FakeTargetList::FindString(const CString& prefix) {
    std::lock_guard lock(m_mutex);
    for (int i = 0; i < int(m_entries.size()); ++i)
        if (StartsWithNoCase(m_entries[i].text, prefix))
            return i;
    return -1;
}

int FakeTargetList::SelectString(const CString& prefix) {
    std::lock_guard lock(m_mutex);
    for (int i = 0; i < int(m_entries.size()); ++i) {
        if (StartsWithNoCase(m_entries[i].text, prefix)) {
            m_curSel = i;
            m_text = m_entries[i].text;
            m_selStart = 0;
            m_selEnd = int(m_text.size());
            return i;
        }
    }
    return -1;
}

int FakeTargetList::GetCurSel() {
    std::lock_guard lock(m_mutex);
    return m_curSel;
}

void FakeTargetList::SetCurSel(int index) {
    std::lock_guard lock(m_mutex);
    m_curSel = Valid(index) ? index : -1;
    if (m_curSel >= 0)
        m_text = m_entries[m_curSel].text;
}

void FakeTargetList::SetFocus() {
    std::lock_guard lock(m_mutex);
    ++m_focusCount;
}

void FakeTargetList::UserEdit(const CString& text, int caret) {
    std::lock_guard lock(m_mutex);
    m_text = text;
    m_selStart = m_selEnd = caret;
    m_curSel = -1;
}

std::vector<FakeTargetList::Entry> FakeTargetList::Entries() {
    std::lock_guard lock(m_mutex);
    return m_entries;
}

std::vector<CString> FakeTargetList::Texts() {
    std::lock_guard lock(m_mutex);
    std::vector<CString> texts;
    for (const Entry& entry : m_entries)
        texts.push_back(entry.text);
    return texts;
}

int FakeTargetList::FocusCount() {
    std::lock_guard lock(m_mutex);
    return m_focusCount;
}
