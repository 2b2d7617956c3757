#include "framework/controls.h"

#include "framework/qt/widgets.h"
#include "framework/qt/window_link.h"

namespace {

AfxLineEdit* AsLine(QWidget* widget) {
    return dynamic_cast<AfxLineEdit*>(widget);
}
AfxTextPane* AsPane(QWidget* widget) {
    return dynamic_cast<AfxTextPane*>(widget);
}

} // namespace

void CEdit::SetLimitText(UINT nMax) {
    AfxWithWidget<QWidget>(*this, false, [nMax](QWidget* widget) {
        if (AfxLineEdit* line = AsLine(widget))
            line->SetLimit(nMax > 0x7FFFFFFE ? 0 : int(nMax));
        return true;
    });
}

UINT CEdit::GetLimitText() const {
    return AfxWithWidget<QWidget>(*this, UINT(0), [](QWidget* widget) {
        AfxLineEdit* line = AsLine(widget);
        return line ? UINT(line->Limit()) : UINT(0);
    });
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly) {
    return AfxWithWidget<QWidget>(*this, FALSE, [bReadOnly](QWidget* widget) {
        if (AfxLineEdit* line = AsLine(widget))
            line->setReadOnly(bReadOnly);
        else if (AfxTextPane* pane = AsPane(widget))
            pane->setReadOnly(bReadOnly);
        else
            return FALSE;
        return TRUE;
    });
}

BOOL CEdit::IsReadOnly() const {
    return AfxWithWidget<QWidget>(*this, FALSE, [](QWidget* widget) {
        if (AfxLineEdit* line = AsLine(widget))
            return line->isReadOnly() ? TRUE : FALSE;
        if (AfxTextPane* pane = AsPane(widget))
            return pane->isReadOnly() ? TRUE : FALSE;
        return FALSE;
    });
}

int CEdit::GetLineCount() const {
    return AfxWithWidget<QWidget>(*this, 0, [](QWidget* widget) {
        AfxTextPane* pane = AsPane(widget);
        return pane ? pane->LineCount() : 1;
    });
}

BOOL CEdit::LineScroll(int nLines, int) {
    return AfxWithWidget<QWidget>(*this, FALSE, [nLines](QWidget* widget) {
        AfxTextPane* pane = AsPane(widget);
        if (!pane)
            return FALSE;
        pane->ScrollLines(nLines);
        return TRUE;
    });
}
