// Rectangle, Ellipse and Polygon: the inside painted with the brush first, then the
// outline with the pen on top of it.
#include <algorithm>

#include "raster.h"

namespace zp::raster {

namespace {

// A box with its corners put in order, as GDI does with reversed corners.
struct Box {
    i64 left, top, right, bottom;
    Box(int x0, int y0, int x1, int y1)
        : left(std::min(x0, x1)), top(std::min(y0, y1)), right(std::max(x0, x1)),
          bottom(std::max(y0, y1)) {}
    bool empty() const { return left == right || top == bottom; }
};

}  // namespace

}  // namespace zp::raster

using namespace zp;
using namespace zp::raster;

extern "C" {

BOOL WINAPI Rectangle(HDC handle, int left, int top, int right, int bottom) {
    DC* dc = lookup_dc(handle);
    if (!dc) return FALSE;
    Box box(left, top, right, bottom);
    if (!dc->surface || box.empty()) return TRUE;
    Surface& surface = *dc->surface;
    const Stroker& pen = *dc->stroker;
    // The outline runs through the box's outer pixels, leaving out the right column
    // and the bottom row.
    const i64 l = box.left, t = box.top, r = box.right - 1, b = box.bottom - 1;
    if (dc->brush_fills) {
        Painter painter(surface, dc->brush_pixel);
        // Outline and inside in one colour make one box; but a 1 x 1 box is nothing, its
        // outline having no length and its inside no room.
        if (pen.one_pixel && dc->pen_pixel == dc->brush_pixel && (r > l || b > t)) {
            fill_rect(painter, l, t, r + 1, b + 1);
            return TRUE;
        }
        // Inside a one-pixel outline; under a wide one, which paints over it.
        const i64 in = pen.one_pixel ? 1 : 0;
        fill_rect(painter, l + in, t + in, r, b);
    }
    const Pt corners[4] = {{r, t}, {l, t}, {l, b}, {r, b}};
    pen.polyline(*dc, corners, 4, true, l, t, r + 1, b + 1);
    return TRUE;
}

BOOL WINAPI Ellipse(HDC handle, int left, int top, int right, int bottom) {
    DC* dc = lookup_dc(handle);
    if (!dc) return FALSE;
    Box box(left, top, right, bottom);
    if (!dc->surface || box.empty()) return TRUE;
    const i64 w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 2 || h <= 2) return Rectangle(handle, left, top, right, bottom);
    const EllipseRows rows(w, h);
    if (dc->brush_fills) {
        Painter painter(*dc->surface, dc->brush_pixel);
        rows.fill(painter, box.left, box.top);
    }
    dc->stroker->ellipse(*dc, box.left, box.top, box.right, box.bottom, rows);
    return TRUE;
}

BOOL WINAPI Polygon(HDC handle, const POINT* points, int count) {
    DC* dc = lookup_dc(handle);
    if (!dc || !points || count < 2) return FALSE;
    if (!dc->surface) return TRUE;
    std::vector<Pt> pts(static_cast<size_t>(count));
    i64 x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        pts[static_cast<size_t>(i)] = {points[i].x, points[i].y};
        x0 = std::min<i64>(x0, points[i].x);
        y0 = std::min<i64>(y0, points[i].y);
        x1 = std::max<i64>(x1, points[i].x + i64(1));
        y1 = std::max<i64>(y1, points[i].y + i64(1));
    }
    if (dc->brush_fills) {
        Painter painter(*dc->surface, dc->brush_pixel);
        fill_polygon(painter, pts.data(), pts.size());
    }
    dc->stroker->polyline(*dc, pts.data(), pts.size(), true, x0, y0, x1, y1);
    return TRUE;
}

}  // extern "C"
