// The application icon: two grey cable connectors whose cables twist
// together, drawn by the program itself at each size it ships.
#pragma once

#include <cstdint>
#include <vector>

struct IconImage {
    int size;                   // width and height in pixels
    std::vector<uint32_t> argb; // rows from the top, 0xAARRGGBB
};

// The images of the icon, 16, 32 and 48 pixels square.
std::vector<IconImage> DrawAppIcon();
