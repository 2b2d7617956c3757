#include "framework/wnd.h"

#include "framework/qt/device_context.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/text.h"
#include "framework/qt/widgets.h"
#include "framework/qt/window_link.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>

namespace {

// The program's own text of a label or button, which may differ from what
// it shows (mnemonic markers, an icon instead of text).
const char* const kTextProperty = "afxText";

void SetWidgetText(QWidget* widget, const CString& text) {
    const QString qtext = AfxToQt(text);
    if (auto* pane = dynamic_cast<AfxTextPane*>(widget)) {
        pane->SetText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->lineEdit())
            combo->lineEdit()->setText(qtext);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(qtext);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setProperty(kTextProperty, qtext);
        if (button->icon().isNull())
            button->setText(qtext);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setProperty(kTextProperty, qtext);
        label->setText(label->property("afxNoPrefix").toBool() ? qtext : AfxWithoutMnemonic(qtext));
    } else if (widget->isWindow()) {
        widget->setWindowTitle(qtext);
    }
}

CString WidgetText(QWidget* widget) {
    if (auto* pane = dynamic_cast<AfxTextPane*>(widget))
        return pane->Text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return AfxFromQt(combo->currentText());
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return AfxFromQt(edit->text());
    const QVariant own = widget->property(kTextProperty);
    if (own.isValid())
        return AfxFromQt(own.toString());
    if (widget->isWindow())
        return AfxFromQt(widget->windowTitle());
    return CString();
}

} // namespace

CWnd::CWnd() = default;
CWnd::~CWnd() = default;

void CWnd::SetWindowText(const CString& text) {
    AfxWithWidget<QWidget>(*this, false, [text](QWidget* widget) {
        SetWidgetText(widget, text);
        return true;
    });
}

void CWnd::GetWindowText(CString& text) const {
    text = GetWindowText();
}

CString CWnd::GetWindowText() const {
    return AfxWithWidget<QWidget>(*this, CString(),
                                  [](QWidget* widget) { return WidgetText(widget); });
}

int CWnd::GetWindowTextLength() const {
    return int(GetWindowText().size());
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return AfxWithWidget<QWidget>(*this, FALSE, [bEnable](QWidget* widget) {
        // The window's own state, not the one it inherits from a parent.
        const BOOL wasDisabled = widget->testAttribute(Qt::WA_ForceDisabled) ? TRUE : FALSE;
        widget->setEnabled(bEnable != FALSE);
        return wasDisabled;
    });
}

BOOL CWnd::IsWindowEnabled() const {
    return AfxWithWidget<QWidget>(*this, FALSE, [](QWidget* widget) {
        return widget->testAttribute(Qt::WA_ForceDisabled) ? FALSE : TRUE;
    });
}

void CWnd::SetFocus() {
    AfxWithWidget<QWidget>(*this, false, [](QWidget* widget) {
        if (auto* window = dynamic_cast<AfxDialogWindow*>(widget->window()))
            window->FocusLater(widget);
        widget->setFocus(Qt::OtherFocusReason);
        return true;
    });
}

BOOL CWnd::IsIconic() const {
    return AfxWithWidget<QWidget>(*this, FALSE, [](QWidget* widget) {
        return widget->isWindow() && widget->isMinimized() ? TRUE : FALSE;
    });
}

void CWnd::GetClientRect(CRect* rect) const {
    const QSize size =
        AfxWithWidget<QWidget>(*this, QSize(0, 0), [](QWidget* widget) { return widget->size(); });
    *rect = CRect{0, 0, size.width(), size.height()};
}

int CWnd::GetDlgCtrlID() const {
    return m_link ? m_link->id : 0;
}

void CWnd::SetAccessibleName(const CString& name) {
    AfxWithWidget<QWidget>(*this, false, [name](QWidget* widget) {
        widget->setAccessibleName(AfxToQt(name));
        return true;
    });
}

CString CWnd::GetAccessibleName() const {
    return AfxWithWidget<QWidget>(
        *this, CString(), [](QWidget* widget) { return AfxFromQt(widget->accessibleName()); });
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<AfxWindowLink> link = m_link;
    if (!link || !link->scope)
        return FALSE;
    // While the scope is open the dialog runs, so this handle is alive.
    return link->scope->Post([this, link, message, wParam, lParam] {
        if (link->widget)
            WindowProc(message, wParam, lParam);
    })
               ? TRUE
               : FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return AfxWithWidget<QWidget>(*this, LRESULT(0), [this, message, wParam, lParam](QWidget*) {
        return WindowProc(message, wParam, lParam);
    });
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, wParam))
        return entry->pfn(this, wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM) {
    QWidget* widget = AfxIsMainThread() ? AfxWidgetOf(*this) : nullptr;
    switch (message) {
    case WM_SYSCOMMAND:
        switch (UINT(wParam) & 0xFFF0) {
        case SC_CLOSE:
            return WindowProc(WM_CLOSE, 0, 0);
        case SC_MINIMIZE:
            if (widget && widget->isWindow())
                widget->showMinimized();
            return 0;
        case SC_RESTORE:
            if (widget && widget->isWindow())
                widget->showNormal();
            return 0;
        default:
            return 0;
        }
    case WM_ICONERASEBKGND:
        AfxEraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    default:
        return 0;
    }
}

void CWnd::OnSysCommand(UINT nID, LPARAM lParam) {
    DefWindowProc(WM_SYSCOMMAND, nID, lParam);
}

void CWnd::OnPaint() {}
