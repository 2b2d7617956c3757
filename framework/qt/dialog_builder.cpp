#include "framework/qt/dialog_builder.h"

#include "framework/controls.h"
#include "framework/qt/dialog_access.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/icon.h"
#include "framework/qt/text.h"
#include "framework/qt/widgets.h"
#include "framework/qt/window_link.h"
#include "framework/resources.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

struct Built {
    QWidget* widget;
    std::unique_ptr<CWnd> handle;
};

bool IsInput(DlgKind kind) {
    return kind == DlgKind::Edit || kind == DlgKind::ComboBox || kind == DlgKind::Trackbar;
}

QWidget* MakeEdit(const DlgItem& item, AfxDialogWindow& window) {
    if (item.style & ES_MULTILINE) {
        auto* pane = new AfxTextPane(&window);
        pane->setReadOnly(item.style & ES_READONLY);
        pane->SetWantReturn(item.style & ES_WANTRETURN);
        pane->setVerticalScrollBarPolicy((item.style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAsNeeded);
        if (item.style & WS_HSCROLL)
            pane->setLineWrapMode(QPlainTextEdit::NoWrap);
        // Tab stops every 32 dialog units.
        pane->setTabStopDistance(window.MapDialogRect(0, 0, 32, 0).width());
        pane->setFrameShape((item.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
        if (item.text)
            pane->SetText(item.text);
        return pane;
    }
    auto* edit = new AfxLineEdit(&window);
    edit->setReadOnly(item.style & ES_READONLY);
    edit->SetDigitsOnly(item.style & ES_NUMBER);
    edit->setFrame(item.style & WS_BORDER);
    if (item.text)
        edit->setText(AfxToQt(item.text));
    return edit;
}

QWidget* MakeComboBox(CDialog& dialog, const DlgItem& item, AfxDialogWindow& window) {
    auto* combo = new AfxComboBox(&window);
    combo->setProperty("afxSorted", bool(item.style & CBS_SORT));
    const int id = item.id;
    if (!(item.style & CBS_DROPDOWNLIST)) {
        // Setting the line edit makes the box editable; setEditable first would
        // build a default line edit only to throw it away.
        auto* edit = new AfxLineEdit(combo);
        combo->setLineEdit(edit);
        // The type-ahead and the list's contents are the program's own.
        combo->setCompleter(nullptr);
        combo->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(edit, &QLineEdit::textEdited, combo, [&dialog, combo, id] {
            // An edit by the user leaves no entry selected.
            combo->SetCurrentKeepingText(-1);
            AfxDialogAccess::Notify(dialog, id, CBN_EDITUPDATE);
        });
    }
    QObject::connect(combo, &QComboBox::activated, combo,
                     [&dialog, id] { AfxDialogAccess::Notify(dialog, id, CBN_SELENDOK); });
    combo->onFocusLost = [&dialog, id] { AfxDialogAccess::Notify(dialog, id, CBN_KILLFOCUS); };
    return combo;
}

QWidget* MakeButton(CDialog& dialog, const DlgItem& item, AfxDialogWindow& window) {
    const QString text = AfxToQt(item.text ? item.text : "");
    auto* button = new QPushButton(&window);
    button->setProperty("afxText", text);
    if (!(item.style & BS_ICON))
        button->setText(text);
    button->setAutoDefault(false);
    button->setFlat(item.style & BS_FLAT);
    if (item.style & BS_DEFPUSHBUTTON) {
        button->setDefault(true);
        window.SetDefaultButton(button);
    }
    const int id = item.id;
    QObject::connect(button, &QPushButton::clicked, button,
                     [&dialog, id] { AfxDialogAccess::Notify(dialog, id, BN_CLICKED); });
    return button;
}

QWidget* MakeStatic(const DlgItem& item, AfxDialogWindow& window) {
    if (item.kind == DlgKind::Frame) {
        auto* frame = new QFrame(&window);
        frame->setFrameShape((item.style & SS_SUNKEN) ? QFrame::Panel : QFrame::Box);
        frame->setFrameShadow((item.style & SS_SUNKEN) ? QFrame::Sunken : QFrame::Plain);
        return frame;
    }
    auto* label = new QLabel(&window);
    label->setTextFormat(Qt::PlainText);
    if (item.kind == DlgKind::Icon) {
        HICON icon = AfxLoadIcon(item.icon);
        label->setProperty("afxIcon", QVariant::fromValue(reinterpret_cast<quintptr>(icon)));
        label->setPixmap(AfxQIcon(icon).pixmap(kAfxIconSize, kAfxIconSize));
        label->setAlignment((item.style & SS_CENTERIMAGE) ? Qt::AlignCenter
                                                          : Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    const QString text = AfxToQt(item.text ? item.text : "");
    label->setProperty("afxText", text);
    label->setProperty("afxNoPrefix", bool(item.style & SS_NOPREFIX));
    label->setText((item.style & SS_NOPREFIX) ? text : AfxWithoutMnemonic(text));
    label->setWordWrap(!(item.style & SS_LEFTNOWORDWRAP));
    label->setAlignment(((item.style & SS_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft) |
                        Qt::AlignTop);
    return label;
}

Built Make(CDialog& dialog, const DlgItem& item, AfxDialogWindow& window) {
    switch (item.kind) {
    case DlgKind::Edit:
        return {MakeEdit(item, window), std::make_unique<CEdit>()};
    case DlgKind::ComboBox:
        return {MakeComboBox(dialog, item, window), std::make_unique<CComboBox>()};
    case DlgKind::Trackbar: {
        auto* bar = new AfxTrackBar(&window);
        bar->setRange(0, 100);
        bar->SetTicksShown(!(item.style & TBS_NOTICKS));
        return {bar, std::make_unique<CSliderCtrl>()};
    }
    case DlgKind::Button:
        return {MakeButton(dialog, item, window), std::make_unique<CButton>()};
    case DlgKind::Text:
    case DlgKind::Frame:
    case DlgKind::Icon:
        return {MakeStatic(item, window), std::make_unique<CStatic>()};
    }
    return {nullptr, nullptr};
}

void Place(QWidget* widget, const DlgItem& item, AfxDialogWindow& window) {
    QRect rect = window.MapDialogRect(item.x, item.y, item.cx, item.cy);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // The template's height includes the dropped list.
        const int height = std::min(rect.height(), combo->sizeHint().height());
        const int row = std::max(1, combo->fontMetrics().height() + 2);
        combo->setMaxVisibleItems(std::max(1, (rect.height() - height) / row));
        rect.setHeight(height);
    }
    widget->setGeometry(rect);
}

void SetFocusPolicy(QWidget* widget, const DlgItem& item) {
    if (item.kind == DlgKind::Text || item.kind == DlgKind::Frame || item.kind == DlgKind::Icon)
        widget->setFocusPolicy(Qt::NoFocus);
    else
        widget->setFocusPolicy((item.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
}

QString AccessibleName(const DlgTemplate& t, size_t index) {
    const DlgItem& item = t.items[index];
    if (item.accessibleName)
        return AfxToQt(item.accessibleName);
    if (item.kind == DlgKind::Button || item.kind == DlgKind::Text)
        return AfxWithoutMnemonic(AfxToQt(item.text ? item.text : ""));
    if (!IsInput(item.kind))
        return QString();
    for (size_t i = index; i-- > 0;) {
        if (t.items[i].kind == DlgKind::Text)
            return AfxWithoutMnemonic(AfxToQt(t.items[i].text ? t.items[i].text : ""));
    }
    return QString();
}

} // namespace

std::vector<std::unique_ptr<CWnd>> AfxBuildControls(CDialog& dialog, AfxDialogWindow& window,
                                                    const DlgTemplate& t,
                                                    const std::shared_ptr<AfxCallScope>& scope) {
    std::vector<std::unique_ptr<CWnd>> handles;
    QWidget* previousTabStop = nullptr;
    for (size_t i = 0; i < t.items.size(); ++i) {
        const DlgItem& item = t.items[i];
        Built built = Make(dialog, item, window);
        Place(built.widget, item, window);
        SetFocusPolicy(built.widget, item);
        built.widget->setAccessibleName(AccessibleName(t, i));
        if (item.style & WS_DISABLED)
            built.widget->setEnabled(false);
        if (item.style & WS_TABSTOP) {
            if (previousTabStop)
                QWidget::setTabOrder(previousTabStop, built.widget);
            previousTabStop = built.widget;
        }
        auto link = std::make_shared<AfxWindowLink>();
        link->widget = built.widget;
        link->scope = scope;
        link->dialog = &dialog;
        link->id = item.id;
        AfxWndAccess::Link(*built.handle) = std::move(link);
        handles.push_back(std::move(built.handle));
    }
    return handles;
}
