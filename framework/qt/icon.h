// Icons of the resource registry as Qt icons; main thread.
#pragma once

#include "framework/afx_types.h"

#include <QIcon>

QIcon AfxQIcon(HICON hIcon);
// The system size of a window's large icon.
constexpr int kAfxIconSize = 32;
