// Build-time tool: writes the application icon's images as a C++ source of
// pixel tables, so that the program starts with the icon already drawn:
// write_icon_table FILE.
#include "ui/app_icon.h"

#include <cstdio>

namespace {

bool WriteTable(FILE* file) {
    const std::vector<IconImage> images = DrawAppIcon();
    std::fprintf(file, "// Written by write_icon_table at build time: do not edit.\n"
                       "#include \"ui/app_icon_table.h\"\n\nnamespace {\n");
    for (const IconImage& image : images) {
        std::fprintf(file, "\nconst uint32_t kPixels%d[] = {", image.size);
        for (size_t i = 0; i < image.argb.size(); ++i)
            std::fprintf(file, "%s0x%08x,", i % 8 ? " " : "\n    ", unsigned(image.argb[i]));
        std::fprintf(file, "\n};\n");
    }
    std::fprintf(file, "\n} // namespace\n\nconst AfxIconImage kAppIconImages[] = {\n");
    for (const IconImage& image : images)
        std::fprintf(file, "    {%d, %d, kPixels%d, nullptr},\n", image.size, image.size,
                     image.size);
    std::fprintf(file, "};\n\nconst size_t kAppIconImageCount = %zu;\n", images.size());
    return !std::ferror(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_icon_table FILE\n");
        return 2;
    }
    FILE* file = std::fopen(argv[1], "w");
    if (!file)
        return 1;
    const bool ok = WriteTable(file);
    return std::fclose(file) == 0 && ok ? 0 : 1;
}
