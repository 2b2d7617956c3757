#include "framework/controls.h"

#include "framework/qt/icon.h"
#include "framework/qt/window_link.h"

#include <QLabel>
#include <QPushButton>

namespace {

const char* const kIconProperty = "afxIcon";

HICON StoredIcon(QWidget* widget) {
    return reinterpret_cast<HICON>(widget->property(kIconProperty).value<quintptr>());
}

HICON StoreIcon(QWidget* widget, HICON hIcon) {
    HICON previous = StoredIcon(widget);
    widget->setProperty(kIconProperty, QVariant::fromValue(reinterpret_cast<quintptr>(hIcon)));
    return previous;
}

} // namespace

HICON CButton::SetIcon(HICON hIcon) {
    return AfxWithWidget<QPushButton>(*this, HICON(nullptr), [hIcon](QPushButton* button) {
        HICON previous = StoreIcon(button, hIcon);
        button->setIcon(AfxQIcon(hIcon));
        button->setIconSize(QSize(kAfxIconSize, kAfxIconSize));
        return previous;
    });
}

HICON CButton::GetIcon() const {
    return AfxWithWidget<QWidget>(*this, HICON(nullptr),
                                  [](QWidget* widget) { return StoredIcon(widget); });
}

HICON CStatic::SetIcon(HICON hIcon) {
    return AfxWithWidget<QWidget>(*this, HICON(nullptr), [hIcon](QWidget* widget) {
        HICON previous = StoreIcon(widget, hIcon);
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setPixmap(AfxQIcon(hIcon).pixmap(kAfxIconSize, kAfxIconSize));
        return previous;
    });
}

HICON CStatic::GetIcon() const {
    return AfxWithWidget<QWidget>(*this, HICON(nullptr),
                                  [](QWidget* widget) { return StoredIcon(widget); });
}
