// Single pixels and block copies: SetPixel, GetPixel and BitBlt.
#include <algorithm>
#include <cstring>

#include "gdi.h"

namespace zp {
namespace {

bool inside(const Surface& s, int x, int y) {
    return static_cast<unsigned>(x) < static_cast<unsigned>(s.width) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(s.height);
}

// Copies n pixels of one row where they differ, and marks what changed: a copy onto
// pixels that are already the same changes nothing, and shows nothing new.
void copy_changed(Surface& d, int y, int64_t dx, const uint32_t* from, int64_t n) {
    uint32_t* to = d.row(y) + dx;
    const size_t bytes = static_cast<size_t>(n) * sizeof(uint32_t);
    if (std::memcmp(to, from, bytes) == 0) return;
    int64_t first = 0, last = n - 1;
    while (to[first] == from[first]) ++first;
    while (to[last] == from[last]) --last;
    std::memcpy(to + first, from + first, static_cast<size_t>(last - first + 1) * sizeof(uint32_t));
    d.mark(dx + first, y, dx + last + 1, y + 1);
}

}  // namespace
}  // namespace zp

using namespace zp;

extern "C" {

COLORREF WINAPI SetPixel(HDC handle, int x, int y, COLORREF color) {
    DC* dc = lookup_dc(handle);
    if (!dc) return CLR_INVALID;
    Surface& s = *dc->surface;
    if (!inside(s, x, y)) return CLR_INVALID;
    s.row(y)[x] = pixel_from_colorref(color);
    s.mark_pixel(x, y);
    return color & 0x00FFFFFF;
}

COLORREF WINAPI GetPixel(HDC handle, int x, int y) {
    DC* dc = lookup_dc(handle);
    if (!dc) return CLR_INVALID;
    const Surface& s = *dc->surface;
    if (!inside(s, x, y)) return CLR_INVALID;
    return colorref_from_pixel(s.row(y)[x]);
}

BOOL WINAPI BitBlt(HDC dst_handle, int x, int y, int width, int height, HDC src_handle,
                   int src_x, int src_y, DWORD rop) {
    DC* dst = lookup_dc(dst_handle);
    DC* src = lookup_dc(src_handle);
    if (!dst || !src || rop != SRCCOPY) return FALSE;
    if (width <= 0 || height <= 0) return TRUE;
    const Surface& s = *src->surface;
    Surface& d = *dst->surface;
    // Clip the copy against both surfaces, in 64 bits so that no sum overflows.
    int64_t sx = src_x, sy = src_y, dx = x, dy = y, w = width, h = height;
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min<int64_t>(w, std::min<int64_t>(s.width - sx, d.width - dx));
    h = std::min<int64_t>(h, std::min<int64_t>(s.height - sy, d.height - dy));
    if (w <= 0 || h <= 0) return TRUE;
    if (&s == &d) {
        // Within one surface the rows may overlap: move them in an order that never
        // reads a row already overwritten.
        const size_t bytes = static_cast<size_t>(w) * sizeof(uint32_t);
        if (sy < dy) {
            for (int64_t r = h - 1; r >= 0; --r)
                std::memmove(d.row(int(dy + r)) + dx, s.row(int(sy + r)) + sx, bytes);
        } else {
            for (int64_t r = 0; r < h; ++r)
                std::memmove(d.row(int(dy + r)) + dx, s.row(int(sy + r)) + sx, bytes);
        }
        d.mark(dx, dy, dx + w, dy + h);
        return TRUE;
    }
    for (int64_t r = 0; r < h; ++r) copy_changed(d, int(dy + r), dx, s.row(int(sy + r)) + sx, w);
    return TRUE;
}

}  // extern "C"

extern "C" int WINAPI GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits,
                                LPBITMAPINFO info, UINT) {
    const Bitmap* b = lookup_as<Bitmap>(bitmap, ObjType::Bitmap);
    if (!lookup_dc(dc) || !b || !info) return 0;
    const Surface& s = b->surface;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (!bits) {  // a question about the bitmap's size and format
        h.biWidth = s.width;
        h.biHeight = s.height;
        h.biPlanes = 1;
        h.biBitCount = 32;
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(s.width) * static_cast<DWORD>(s.height) * 4;
        return s.height;
    }
    if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth != s.width) return 0;
    // Blue, green, red and an unused byte per pixel: a 0x00RRGGBB word, as surfaces hold.
    const bool top_down = h.biHeight < 0;
    const int64_t first = start, count = std::min<int64_t>(lines, s.height - first);
    if (first >= s.height || count <= 0) return 0;
    auto* out = static_cast<uint32_t*>(bits);
    for (int64_t i = 0; i < count; ++i) {
        const int64_t scan = first + i;  // counted from the top for top-down rows, else from the bottom
        const int y = static_cast<int>(top_down ? scan : s.height - 1 - scan);
        std::memcpy(out + i * s.width, s.row(y), static_cast<size_t>(s.width) * sizeof(uint32_t));
    }
    return static_cast<int>(count);
}
