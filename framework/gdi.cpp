#include "framework/gdi.h"

#include "framework/qt/device_context.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/icon.h"
#include "framework/qt/main_thread.h"
#include "framework/qt/window_link.h"

CDC::CDC() : m_pContext(std::make_unique<AfxDeviceContext>()) {}

CDC::~CDC() {
    if (m_pContext->painter.isActive())
        m_pContext->painter.end();
}

HDC CDC::GetSafeHdc() const {
    return m_pContext.get();
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    if (!m_pContext->painter.isActive() || !hIcon)
        return FALSE;
    m_pContext->painter.drawPixmap(x, y, AfxQIcon(hIcon).pixmap(kAfxIconSize, kAfxIconSize));
    return TRUE;
}

void CDC::EraseBackground() {
    AfxEraseBackground(m_pContext.get());
}

void AfxEraseBackground(HDC hDC) {
    if (!hDC || !hDC->painter.isActive())
        return;
    const QColor color =
        hDC->widget ? hDC->widget->palette().color(QPalette::Window) : QColor(Qt::lightGray);
    QPaintDevice* device = hDC->painter.device();
    hDC->painter.fillRect(QRect(0, 0, device->width(), device->height()), color);
}

CPaintDC::CPaintDC(CWnd* pWnd) {
    if (!pWnd || !AfxIsMainThread())
        return;
    QWidget* widget = AfxWidgetOf(*pWnd);
    m_pContext->widget = widget;
    auto* window = dynamic_cast<AfxDialogWindow*>(widget);
    if (window && window->InPaint()) {
        m_pContext->painter.begin(window);
        return;
    }
    const QSize size = widget ? widget->size() : QSize(1, 1);
    m_pContext->scratch = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    m_pContext->scratch.fill(Qt::transparent);
    m_pContext->painter.begin(&m_pContext->scratch);
}

CPaintDC::~CPaintDC() = default;

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXICON:
    case SM_CYICON:
        return kAfxIconSize;
    default:
        return 0;
    }
}
