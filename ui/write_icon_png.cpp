// Build-time tool: writes the application icon as PNG files for the desktop's
// icon theme, one file per size: write_icon_png DIR gives DIR/<size>.png.
#include "ui/app_icon.h"

#include <cstdio>
#include <string>

namespace {

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xffffffffu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void Big32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((v >> shift) & 0xff);
}

void Chunk(std::string& png, const char* type, const std::string& data) {
    Big32(png, uint32_t(data.size()));
    const std::string body = std::string(type, 4) + data;
    png += body;
    Big32(png, Crc32(body));
}

// A zlib stream of stored (uncompressed) deflate blocks: an icon is small
// enough that compression is not worth a dependency.
std::string ZlibStored(const std::string& raw) {
    std::string out = "\x78\x01";
    size_t pos = 0;
    do {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n == raw.size();
        out += char(last ? 1 : 0);
        out += char(n & 0xff);
        out += char(n >> 8);
        out += char(~n & 0xff);
        out += char((~n >> 8) & 0xff);
        out.append(raw, pos, n);
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Big32(out, b << 16 | a);
    return out;
}

std::string Png(const IconImage& image) {
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    Big32(header, uint32_t(image.size));
    Big32(header, uint32_t(image.size));
    header += std::string("\x08\x06\x00\x00\x00", 5); // 8-bit RGBA
    Chunk(png, "IHDR", header);
    std::string raw;
    for (int y = 0; y < image.size; ++y) {
        raw += '\0'; // no filter
        for (int x = 0; x < image.size; ++x) {
            const uint32_t p = image.argb[size_t(y) * image.size + x];
            raw += char((p >> 16) & 0xff);
            raw += char((p >> 8) & 0xff);
            raw += char(p & 0xff);
            raw += char(p >> 24);
        }
    }
    Chunk(png, "IDAT", ZlibStored(raw));
    Chunk(png, "IEND", "");
    return png;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_icon_png DIR\n");
        return 2;
    }
    for (const IconImage& image : DrawAppIcon()) {
        const std::string path = std::string(argv[1]) + "/" + std::to_string(image.size) + ".png";
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file)
            return 1;
        const std::string png = Png(image);
        const bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
        if (std::fclose(file) != 0 || !ok)
            return 1;
    }
    return 0;
}
