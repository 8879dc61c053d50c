// PNG dumps of any DC's surface.
#include <png.h>

#include <cstdio>
#include <vector>

#include "../gdi/gdi.h"
#include "headless.h"

namespace zp::headless {

bool save_png(HDC handle, const char* path) {
    DC* dc = lookup_dc(handle);
    if (!dc || !dc->surface) return false;
    const Surface& s = *dc->surface;
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(s.width), static_cast<png_uint_32>(s.height),
                     8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> line(static_cast<size_t>(s.width) * 3);
        for (int y = 0; y < s.height; ++y) {
            const uint32_t* row = s.row(y);
            for (int x = 0; x < s.width; ++x) {
                line[size_t(x) * 3 + 0] = png_byte(row[x] >> 16);
                line[size_t(x) * 3 + 1] = png_byte(row[x] >> 8);
                line[size_t(x) * 3 + 2] = png_byte(row[x]);
            }
            png_write_row(png, line.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return std::fclose(file) == 0 && ok;
}

}  // namespace zp::headless
