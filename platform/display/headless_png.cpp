// The headless presenter's pictures: PNG files of what a window or a DC shows.
#include <png.h>

#include <cstdio>
#include <vector>

#include "../presenter.h"
#include "headless.h"

namespace zp::headless {
namespace {

bool write_png(const Pixels& p, const char* path) {
    if (!p.data || p.width <= 0 || p.height <= 0) return false;
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height),
                     8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> line(static_cast<size_t>(p.width) * 3);
        for (int y = 0; y < p.height; ++y) {
            const uint32_t* row = p.data + static_cast<ptrdiff_t>(y) * p.stride;
            for (int x = 0; x < p.width; ++x) {
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

}  // namespace

bool save_png(HDC dc, const char* path) {
    Pixels p;
    return dc_pixels(dc, &p) && write_png(p, path);
}

bool save_window_png(HWND window, const char* path) {
    WindowView view;
    return window_view(window, &view) && write_png(view.client, path);
}

}  // namespace zp::headless
