// What a window handle knows of its widget: the widget itself (main thread
// only) and the call scope of its dialog, which serves other threads while
// the dialog runs.
#pragma once

#include "framework/qt/main_thread.h"
#include "framework/wnd.h"

#include <QPointer>
#include <QWidget>

class CDialog;

struct AfxWindowLink {
    QPointer<QWidget> widget;
    std::shared_ptr<AfxCallScope> scope;
    CDialog* dialog = nullptr; // the dialog the window belongs to
    int id = 0;
};

struct AfxWndAccess {
    static std::shared_ptr<AfxWindowLink>& Link(CWnd& wnd) { return wnd.m_link; }
    static const std::shared_ptr<AfxWindowLink>& Link(const CWnd& wnd) { return wnd.m_link; }
    static LRESULT WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return wnd.WindowProc(message, wParam, lParam);
    }
};

// Runs f(widget) on the main thread with the handle's widget as a W;
// fallback when the window is gone or is no W, or when the dialog no longer
// serves the calling thread.
template <class W, class F>
auto AfxWithWidget(const CWnd& wnd, std::invoke_result_t<F, W*> fallback, F f) {
    const std::shared_ptr<AfxWindowLink>& link = AfxWndAccess::Link(wnd);
    if (!link || !link->scope)
        return fallback;
    return AfxCallIn(*link->scope, fallback, [link, fallback, f]() {
        W* widget = dynamic_cast<W*>(link->widget.data());
        return widget ? f(widget) : fallback;
    });
}

// The widget behind a handle, for the framework and its tests; main thread.
inline QWidget* AfxWidgetOf(const CWnd& wnd) {
    const std::shared_ptr<AfxWindowLink>& link = AfxWndAccess::Link(wnd);
    return link ? link->widget.data() : nullptr;
}
