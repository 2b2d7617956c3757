// The program's resources: icons and strings, registered by id at start-up
// (before the first use), with no window system needed by the caller.
//
//   static const AfxIconImage kImages[] = {{32, 32, kPixels32, nullptr},
//                                          {16, 16, nullptr, kXpm16}};
//   AfxRegisterIcon(IDR_MAINFRAME, kImages);
//   AfxRegisterString(IDS_ABOUTBOX, "&About...");
//   HICON icon = AfxLoadIcon(IDR_MAINFRAME);
//   CString text;
//   if (AfxLoadString(IDS_ABOUTBOX, text)) ...
#pragma once

#include "framework/afx_types.h"

#include <cstdint>
#include <span>

// One image of an icon: either width*height ARGB pixels, row by row from the
// top, or an XPM image (its text array). The data must outlive the program's
// use of the icon (a static table does).
struct AfxIconImage {
    int width;
    int height;
    const uint32_t* argb;
    const char* const* xpm;
};

void AfxRegisterIcon(UINT id, std::span<const AfxIconImage> images);
// The icon registered under id, or null. The handle is shared: never freed.
HICON AfxLoadIcon(UINT id);

void AfxRegisterString(UINT id, const CString& text);
// FALSE, with text emptied, when no string has that id.
BOOL AfxLoadString(UINT id, CString& text);
