#include "framework/controls.h"

#include "framework/qt/text.h"
#include "framework/qt/widgets.h"
#include "framework/qt/window_link.h"

#include <QLineEdit>

namespace {

constexpr int kDataRole = Qt::UserRole;

bool IsSorted(QComboBox* combo) {
    return combo->property("afxSorted").toBool();
}

// A binary search, as sorted lists do it: entries inserted at the top
// outside the order stay there.
int SortedPlace(QComboBox* combo, const QString& text) {
    int low = 0;
    int high = combo->count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (QString::compare(combo->itemText(middle), text, Qt::CaseInsensitive) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int Insert(AfxComboBox* combo, int index, const QString& text) {
    combo->InsertKeepingSelection(index, text);
    return index;
}

// Search from the entry after start round to it, as the list controls do.
template <class Match> int Search(QComboBox* combo, int start, Match match) {
    const int count = combo->count();
    if (count == 0)
        return CB_ERR;
    const int first = (start < 0 || start >= count) ? 0 : start + 1;
    for (int n = 0; n < count; ++n) {
        const int index = (first + n) % count;
        if (match(combo->itemText(index)))
            return index;
    }
    return CB_ERR;
}

} // namespace

int CComboBox::AddString(const CString& text) {
    return AfxWithWidget<AfxComboBox>(*this, int(CB_ERR), [text](AfxComboBox* combo) {
        const QString qtext = AfxToQt(text);
        return Insert(combo, IsSorted(combo) ? SortedPlace(combo, qtext) : combo->count(), qtext);
    });
}

int CComboBox::InsertString(int nIndex, const CString& text) {
    return AfxWithWidget<AfxComboBox>(*this, int(CB_ERR), [nIndex, text](AfxComboBox* combo) {
        if (nIndex > combo->count())
            return int(CB_ERR);
        return Insert(combo, nIndex < 0 ? combo->count() : nIndex, AfxToQt(text));
    });
}

int CComboBox::DeleteString(UINT nIndex) {
    return AfxWithWidget<AfxComboBox>(*this, int(CB_ERR), [nIndex](AfxComboBox* combo) {
        const int index = int(nIndex);
        if (index < 0 || index >= combo->count())
            return int(CB_ERR);
        combo->RemoveKeepingText(index);
        return combo->count();
    });
}

int CComboBox::GetCount() const {
    return AfxWithWidget<AfxComboBox>(*this, 0, [](AfxComboBox* combo) { return combo->count(); });
}

int CComboBox::GetCurSel() const {
    return AfxWithWidget<AfxComboBox>(*this, int(CB_ERR),
                                      [](AfxComboBox* combo) { return combo->currentIndex(); });
}

int CComboBox::SetCurSel(int nSelect) {
    return AfxWithWidget<AfxComboBox>(*this, int(CB_ERR), [nSelect](AfxComboBox* combo) {
        if (nSelect < 0 || nSelect >= combo->count()) {
            combo->setCurrentIndex(-1);
            return int(CB_ERR);
        }
        combo->setCurrentIndex(nSelect);
        return nSelect;
    });
}

int CComboBox::GetLBText(int nIndex, CString& text) const {
    text.clear();
    if (nIndex < 0 || nIndex >= GetCount())
        return CB_ERR;
    text = GetLBText(nIndex);
    return int(text.size());
}

CString CComboBox::GetLBText(int nIndex) const {
    return AfxWithWidget<AfxComboBox>(*this, CString(), [nIndex](AfxComboBox* combo) {
        return nIndex >= 0 && nIndex < combo->count() ? AfxFromQt(combo->itemText(nIndex))
                                                      : CString();
    });
}

int CComboBox::GetLBTextLen(int nIndex) const {
    CString text;
    return GetLBText(nIndex, text);
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const {
    return AfxWithWidget<AfxComboBox>(*this, DWORD_PTR(CB_ERR), [nIndex](AfxComboBox* combo) {
        if (nIndex < 0 || nIndex >= combo->count())
            return DWORD_PTR(CB_ERR);
        return DWORD_PTR(combo->itemData(nIndex, kDataRole).toULongLong());
    });
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR data) {
    return AfxWithWidget<AfxComboBox>(*this, int(CB_ERR), [nIndex, data](AfxComboBox* combo) {
        const QVariant value = QVariant::fromValue<qulonglong>(data);
        if (nIndex == -1) {
            for (int i = 0; i < combo->count(); ++i)
                combo->setItemData(i, value, kDataRole);
            return 0;
        }
        if (nIndex < 0 || nIndex >= combo->count())
            return int(CB_ERR);
        combo->setItemData(nIndex, value, kDataRole);
        return 0;
    });
}

int CComboBox::FindString(int nStartAfter, const CString& prefix) const {
    return AfxWithWidget<AfxComboBox>(
        *this, int(CB_ERR), [nStartAfter, prefix](AfxComboBox* combo) {
            const QString qprefix = AfxToQt(prefix);
            return Search(combo, nStartAfter, [&](const QString& text) {
                return text.startsWith(qprefix, Qt::CaseInsensitive);
            });
        });
}

int CComboBox::FindStringExact(int nIndexStart, const CString& text) const {
    return AfxWithWidget<AfxComboBox>(*this, int(CB_ERR), [nIndexStart, text](AfxComboBox* combo) {
        const QString qtext = AfxToQt(text);
        return Search(combo, nIndexStart, [&](const QString& entry) {
            return entry.compare(qtext, Qt::CaseInsensitive) == 0;
        });
    });
}

int CComboBox::SelectString(int nStartAfter, const CString& prefix) {
    const int index = FindString(nStartAfter, prefix);
    if (index == CB_ERR)
        return CB_ERR;
    return AfxWithWidget<AfxComboBox>(*this, int(CB_ERR), [index](AfxComboBox* combo) {
        if (index >= combo->count())
            return int(CB_ERR);
        combo->setCurrentIndex(index);
        // Also when it was selected already but the text had changed.
        if (combo->lineEdit())
            combo->lineEdit()->setText(combo->itemText(index));
        return index;
    });
}

void CComboBox::GetEditSel(int& start, int& end) const {
    const QPoint sel = AfxWithWidget<AfxComboBox>(*this, QPoint(0, 0), [](AfxComboBox* combo) {
        QLineEdit* edit = combo->lineEdit();
        if (!edit)
            return QPoint(0, 0);
        if (!edit->hasSelectedText())
            return QPoint(edit->cursorPosition(), edit->cursorPosition());
        const int first = edit->selectionStart();
        return QPoint(first, first + int(edit->selectedText().size()));
    });
    start = sel.x();
    end = sel.y();
}

BOOL CComboBox::SetEditSel(int nStartChar, int nEndChar) {
    return AfxWithWidget<AfxComboBox>(*this, FALSE, [nStartChar, nEndChar](AfxComboBox* combo) {
        QLineEdit* edit = combo->lineEdit();
        if (!edit)
            return FALSE;
        const int length = int(edit->text().size());
        if (nStartChar < 0) {
            edit->deselect();
            return TRUE;
        }
        const int start = std::min(nStartChar, length);
        const int end = (nEndChar < 0 || nEndChar > length) ? length : nEndChar;
        // The caret goes to the end, as after a completion.
        edit->setSelection(std::min(start, end), std::abs(end - start));
        return TRUE;
    });
}

BOOL CComboBox::LimitText(int nMaxChars) {
    return AfxWithWidget<AfxComboBox>(*this, FALSE, [nMaxChars](AfxComboBox* combo) {
        auto* edit = dynamic_cast<AfxLineEdit*>(combo->lineEdit());
        if (!edit)
            return FALSE;
        edit->SetLimit(nMaxChars);
        return TRUE;
    });
}
