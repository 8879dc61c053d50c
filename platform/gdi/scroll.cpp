// ScrollDC: moves pixels within a DC's surface. The uncovered part keeps its old
// pixels, as Win32 leaves it for the caller to repaint.
#include <algorithm>
#include <cstring>

#include "gdi.h"

namespace zp {
namespace {

// Any rectangle and direction: a memmove of each row, in an order that never reads a
// row already overwritten.
void scroll_rect(Surface& s, int dx, int dy, RECT src) {
    RECT dst = {src.left + dx, src.top + dy, src.right + dx, src.bottom + dy};
    const RECT clip = rect_intersect(dst, src);
    if (rect_empty(clip)) return;
    const size_t bytes = static_cast<size_t>(clip.right - clip.left) * sizeof(uint32_t);
    auto move_row = [&](int y) {
        std::memmove(s.row(y) + clip.left, s.row(y - dy) + (clip.left - dx), bytes);
    };
    if (dy > 0)
        for (int y = clip.bottom - 1; y >= clip.top; --y) move_row(y);
    else
        for (int y = clip.top; y < clip.bottom; ++y) move_row(y);
}

}  // namespace
}  // namespace zp

using namespace zp;

extern "C" int WINAPI ScrollDC(HDC handle, int dx, int dy, const RECT* scroll, const RECT* clip,
                               HRGN, LPRECT update) {
    DC* dc = lookup_dc(handle);
    if (!dc) return FALSE;
    Surface& s = *dc->surface;
    RECT area = scroll ? *scroll : RECT{0, 0, s.width, s.height};
    if (clip) area = rect_intersect(area, *clip);
    area = rect_clip(area, s.width, s.height);
    if (update) *update = {0, 0, 0, 0};
    if (rect_empty(area)) return TRUE;
    // Shifts beyond the area move nothing in.
    const long long w = area.right - area.left, h = area.bottom - area.top;
    if (dx >= w || -static_cast<long long>(dx) >= w || dy >= h || -static_cast<long long>(dy) >= h) {
        if (update) *update = area;
        return TRUE;
    }
    if (dx != 0 || dy != 0) {
        scroll_rect(s, dx, dy, area);
        s.mark(area.left, area.top, area.right, area.bottom);
    }
    if (update) {
        if (dy < 0) *update = {area.left, area.bottom + dy, area.right, area.bottom};
        else if (dy > 0) *update = {area.left, area.top, area.right, area.top + dy};
        else if (dx < 0) *update = {area.right + dx, area.top, area.right, area.bottom};
        else if (dx > 0) *update = {area.left, area.top, area.left + dx, area.bottom};
    }
    return TRUE;
}
