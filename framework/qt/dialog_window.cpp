#include "framework/qt/dialog_window.h"

#include "framework/qt/dialog_access.h"
#include "framework/qt/icon.h"
#include "framework/qt/text.h"
#include "framework/qt/widgets.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

QFont AfxDialogFont(const char* name, int pointSize) {
    const int points = pointSize > 0 ? pointSize : 8;
    if (name && *name) {
        QFont font(QString::fromLatin1(name), points);
        if (QFontInfo(font).family().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return font;
    }
    QFont sans = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    sans.setPointSize(points);
    return sans;
}

namespace {

Qt::WindowFlags FlagsFor(UINT style, bool owned) {
    Qt::WindowFlags flags = (owned ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint;
    if (style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

int MulDiv(int value, int numerator, int denominator) {
    const long long product = (long long)value * numerator;
    return int((product >= 0 ? product + denominator / 2 : product - denominator / 2) /
               denominator);
}

} // namespace

AfxDialogWindow::AfxDialogWindow(CDialog* dialog, QWidget* owner, const DlgTemplate& t)
    : QDialog(owner, FlagsFor(t.style, owner != nullptr)), m_pDialog(dialog), m_nStyle(t.style) {
    const QFont font = AfxDialogFont(t.fontName, t.pointSize);
    setFont(font);
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = std::max(1, (alphabet / 26 + 1) / 2);
    m_nBaseY = std::max(1, metrics.height());

    setWindowTitle(t.caption ? QString::fromLatin1(t.caption) : QString());
    setFixedSize(MapDialogRect(0, 0, t.cx, t.cy).size());
    setSizeGripEnabled(false);
    if (t.style & DS_CENTER) {
        if (QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }

    // Where the window manager leaves these keys to the program.
    auto* menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(menuKey, &QShortcut::activated, [this] { OpenSystemMenu(mapToGlobal(QPoint(0, 0))); });
    auto* closeKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(closeKey, &QShortcut::activated, [this] { Send(WM_SYSCOMMAND, SC_CLOSE, 0); });
}

QRect AfxDialogWindow::MapDialogRect(int x, int y, int cx, int cy) const {
    return QRect(MulDiv(x, m_nBaseX, 4), MulDiv(y, m_nBaseY, 8), MulDiv(cx, m_nBaseX, 4),
                 MulDiv(cy, m_nBaseY, 8));
}

LRESULT AfxDialogWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return AfxDialogAccess::Dispatch(*m_pDialog, message, wParam, lParam);
}

void AfxDialogWindow::FocusLater(QWidget* widget) {
    if (!isVisible())
        m_pendingFocus = widget;
}

void AfxDialogWindow::FocusFirstTabStop() {
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if ((child->focusPolicy() & Qt::TabFocus) && child->isEnabled()) {
            m_pendingFocus = child;
            child->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void AfxDialogWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_pendingFocus)
        m_pendingFocus->setFocus(Qt::OtherFocusReason);
    m_pendingFocus = nullptr;
}

void AfxDialogWindow::PressEnter() {
    QWidget* focus = focusWidget();
    if (auto* pane = dynamic_cast<AfxTextPane*>(focus); pane && pane->WantsReturn())
        return;
    if (auto* button = qobject_cast<QPushButton*>(focus); button && button->isEnabled()) {
        button->click();
        return;
    }
    // A disabled default button takes no Enter: nothing else stands in for it.
    if (m_defaultButton && m_defaultButton->isEnabled() && m_defaultButton->isVisible())
        m_defaultButton->click();
}

void AfxDialogWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        PressEnter();
        return;
    }
    if (modifiers == Qt::NoModifier && event->key() == Qt::Key_Escape) {
        AfxDialogAccess::Notify(*m_pDialog, IDCANCEL, BN_CLICKED);
        return;
    }
    // Not QDialog's: it would end the dialog on Escape by itself.
    QWidget::keyPressEvent(event);
}

void AfxDialogWindow::closeEvent(QCloseEvent* event) {
    // The dialog decides; only EndDialog ends it.
    event->ignore();
    Send(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void AfxDialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    QWidget* child = childAt(event->pos());
    const bool background =
        !child || qobject_cast<QLabel*>(child) || child->metaObject() == &QFrame::staticMetaObject;
    if (!background) {
        event->ignore();
        return;
    }
    event->accept();
    OpenSystemMenu(event->globalPos());
}

void AfxDialogWindow::OpenSystemMenu(const QPoint& globalPos) {
    const CMenu* items = AfxDialogAccess::SystemMenu(*m_pDialog);
    if (!items || !AfxDialogAccess::IsRunning(*m_pDialog))
        return;
    QMenu menu(this);
    for (int i = 0; i < items->GetMenuItemCount(); ++i) {
        const CMenu::Item& item = items->GetItem(i);
        if (item.flags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(AfxToQt(item.text));
        action->setData(item.id);
        if (item.id == SC_RESTORE)
            action->setEnabled(isMinimized());
        else if (item.id == SC_MINIMIZE)
            action->setEnabled(!isMinimized() && (m_nStyle & WS_MINIMIZEBOX));
    }
    QAction* chosen = menu.exec(globalPos);
    if (chosen)
        Send(WM_SYSCOMMAND, WPARAM(chosen->data().toUInt()), 0);
}

void AfxDialogWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    m_bInPaint = true;
    Send(WM_PAINT, 0, 0);
    m_bInPaint = false;
}

void AfxDialogWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized())
        return;
    // The window manager draws the minimised window; the dialog is still
    // asked for the image and for its paint, as it would be elsewhere.
    if (const LRESULT icon = Send(WM_QUERYDRAGICON, 0, 0))
        setWindowIcon(AfxQIcon(reinterpret_cast<HICON>(icon)));
    Send(WM_PAINT, 0, 0);
}
