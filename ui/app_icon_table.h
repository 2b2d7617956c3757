// The application icon's images, drawn at build time (write_icon_table) from
// the drawing in app_icon.cpp: 16, 32 and 48 pixels square.
#pragma once

#include "framework/resources.h"

#include <cstddef>

extern const AfxIconImage kAppIconImages[];
extern const size_t kAppIconImageCount;
