// The device context behind an HDC.
#pragma once

#include "framework/afx_types.h"

#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QWidget>

struct AfxDeviceContext {
    QPointer<QWidget> widget;
    QImage scratch; // the surface when the widget is not painting
    QPainter painter;
};

void AfxEraseBackground(HDC hDC);
