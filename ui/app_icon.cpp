#include "ui/app_icon.h"

#include <cmath>

namespace {

// At 16 pixels the drawing is hand-placed so that every pixel is crisp.
const char* const kIcon16[16] = {
    "..y..y....y..y..", "..y..y....y..y..", ".oooooo..oooooo.", ".ollmdo..ollmdo.",
    ".ollmdo..ollmdo.", ".ollmdo..ollmdo.", ".oooooo..oooooo.", "..oddo....oddo..",
    "...aa......bb...", "....aa....bb....", ".....aa..bb.....", "......aabb......",
    ".......bb.......", "......bbaa......", ".......aa.......", "......aabb......",
};

uint32_t PaletteColour(char key) {
    switch (key) {
    case 'y':
        return 0xffe6c85a; // contact pins
    case 'o':
        return 0xff282828; // outline
    case 'l':
        return 0xffcdcdd4;
    case 'm':
        return 0xff96969e;
    case 'd':
        return 0xff606068;
    case 'a':
        return 0xff646470; // the darker cable
    case 'b':
        return 0xffbcbcc4; // the lighter cable
    default:
        return 0;
    }
}

IconImage PixelArt16() {
    IconImage image{16, std::vector<uint32_t>(16 * 16)};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.argb[y * 16 + x] = PaletteColour(kIcon16[y][x]);
    return image;
}

// Larger sizes are painted on a 48-unit canvas at four samples a pixel each
// way and averaged down.
class Canvas {
public:
    Canvas(int size, int samples)
        : m_size(size), m_samples(samples), m_width(size * samples),
          m_scale(double(m_width) / 48.0), m_pixels(size_t(m_width) * m_width) {}

    void Rect(double x0, double y0, double x1, double y1, uint32_t colour) {
        for (int y = int(y0 * m_scale); y < int(y1 * m_scale); ++y)
            for (int x = int(x0 * m_scale); x < int(x1 * m_scale); ++x)
                Put(x, y, colour);
    }

    void Disc(double cx, double cy, double r, uint32_t colour) {
        for (int y = int((cy - r) * m_scale) - 1; y <= int((cy + r) * m_scale) + 1; ++y) {
            for (int x = int((cx - r) * m_scale) - 1; x <= int((cx + r) * m_scale) + 1; ++x) {
                const double px = (x + 0.5) / m_scale - cx;
                const double py = (y + 0.5) / m_scale - cy;
                if (px * px + py * py <= r * r)
                    Put(x, y, colour);
            }
        }
    }

    IconImage Downsample() const {
        IconImage image{m_size, std::vector<uint32_t>(size_t(m_size) * m_size)};
        for (int y = 0; y < m_size; ++y)
            for (int x = 0; x < m_size; ++x)
                image.argb[y * m_size + x] = Average(x, y);
        return image;
    }

private:
    void Put(int x, int y, uint32_t colour) {
        if (x >= 0 && y >= 0 && x < m_width && y < m_width)
            m_pixels[size_t(y) * m_width + x] = colour;
    }

    uint32_t Average(int x, int y) const {
        uint64_t r = 0, g = 0, b = 0, a = 0;
        for (int sy = 0; sy < m_samples; ++sy) {
            for (int sx = 0; sx < m_samples; ++sx) {
                const uint32_t p =
                    m_pixels[size_t(y * m_samples + sy) * m_width + x * m_samples + sx];
                const uint32_t alpha = p >> 24;
                r += ((p >> 16) & 0xff) * alpha;
                g += ((p >> 8) & 0xff) * alpha;
                b += (p & 0xff) * alpha;
                a += alpha;
            }
        }
        if (a == 0)
            return 0;
        const uint64_t n = uint64_t(m_samples) * m_samples;
        return uint32_t((a / n) << 24 | (r / a) << 16 | (g / a) << 8 | (b / a));
    }

    int m_size;
    int m_samples;
    int m_width;
    double m_scale;
    std::vector<uint32_t> m_pixels;
};

const uint32_t kOutline = 0xff282828;

void Connector(Canvas& canvas, double x0) {
    canvas.Rect(x0 + 3, 2, x0 + 6, 11, kOutline);
    canvas.Rect(x0 + 8, 2, x0 + 11, 11, kOutline);
    canvas.Rect(x0 + 3.8, 2.8, x0 + 5.2, 11, 0xffe6c85a);
    canvas.Rect(x0 + 8.8, 2.8, x0 + 10.2, 11, 0xffe6c85a);
    canvas.Rect(x0, 10, x0 + 14, 25, kOutline);
    canvas.Rect(x0 + 1.2, 11.2, x0 + 12.8, 23.8, 0xff96969e);
    canvas.Rect(x0 + 1.2, 11.2, x0 + 4, 23.8, 0xffcdcdd4);
    canvas.Rect(x0 + 10, 11.2, x0 + 12.8, 23.8, 0xff606068);
    canvas.Rect(x0 + 4, 25, x0 + 10, 28, kOutline);
    canvas.Rect(x0 + 5, 25, x0 + 9, 28, 0xff606068);
}

// The two cables leave the connectors and wind round each other on the way
// down; where a cable is behind the other it is painted first.
void Cables(Canvas& canvas, bool front) {
    // A disc every fifth of a unit down the cable: closer adds nothing visible.
    const int steps = 96;
    for (double radius : {3.0, 2.2}) {
        for (int i = 0; i < steps; ++i) {
            const double t = double(i) / (steps - 1);
            const double y = 27 + 19 * t;
            const double spread = 12 * std::pow(1 - t, 1.8) + 3.6;
            const double phase = M_PI * 1.8 * t;
            const double offset = spread * std::cos(phase);
            const bool firstInFront = std::sin(phase) > 0;
            if (firstInFront == front)
                canvas.Disc(24 - offset, y, radius, radius > 2.5 ? kOutline : 0xff787880);
            if (!firstInFront == front)
                canvas.Disc(24 + offset, y, radius, radius > 2.5 ? kOutline : 0xffb4b4bc);
        }
    }
}

IconImage Painted(int size) {
    Canvas canvas(size, 4);
    Connector(canvas, 5);
    Connector(canvas, 29);
    Cables(canvas, false);
    Cables(canvas, true);
    return canvas.Downsample();
}

} // namespace

std::vector<IconImage> DrawAppIcon() {
    return {PixelArt16(), Painted(32), Painted(48)};
}
