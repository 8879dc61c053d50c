// Rectangle, Ellipse and Polygon: the inside painted with the brush first, then the
// outline with the pen on top of it.
#include <algorithm>

#include "raster.h"

namespace zp::raster {

Tools::Tools(const DC& dc) {
    if (const zp::Pen* p = dc_pen(dc); p && p->style != PS_NULL) {
        stroke = p->width > 1 ? Stroke::Wide : Stroke::Thin;
        pen_width = p->width;
        pen_pixel = pixel_from_colorref(p->color);
    }
    if (const zp::Brush* b = dc_brush(dc); b && b->style != BS_NULL) {
        brush = true;
        brush_pixel = pixel_from_colorref(b->color);
    }
}

Coverage coverage_for(const Surface& surface, i64 x0, i64 y0, i64 x1, i64 y1, i64 pen_width) {
    const i64 margin = pen_width + 1;
    auto clamp = [](i64 v, int hi) { return static_cast<int>(std::clamp<i64>(v, 0, hi)); };
    return Coverage(clamp(x0 - margin, surface.width), clamp(y0 - margin, surface.height),
                    clamp(x1 + margin, surface.width), clamp(y1 + margin, surface.height));
}

namespace {

constexpr size_t FEW_CORNERS = 8;

// A box with its corners put in order, as GDI does with reversed corners.
struct Box {
    i64 left, top, right, bottom;
    Box(int x0, int y0, int x1, int y1)
        : left(std::min(x0, x1)), top(std::min(y0, y1)), right(std::max(x0, x1)),
          bottom(std::max(y0, y1)) {}
    bool empty() const { return left == right || top == bottom; }
};

// The thin outline of an ellipse too large to trace: the pixels of each row of the
// filled ellipse that the rows above and below do not reach.
void thin_ellipse_by_rows(Painter& painter, const EllipseRows& rows, const Box& box) {
    const i64 w = box.right - box.left, h = rows.height();
    const i64 y0 = std::max<i64>(box.top, 0), y1 = std::min<i64>(box.bottom, painter.bottom);
    for (i64 y = y0; y < y1; ++y) {
        const i64 row = y - box.top;
        const i64 in = rows.inset(row);
        const i64 above = row > 0 ? rows.inset(row - 1) : w;
        const i64 below = row + 1 < h ? rows.inset(row + 1) : w;
        const i64 reach = std::min(std::max({above, below, in + 1}), w - in);
        painter.span(static_cast<int>(y), box.left + in, box.left + reach);
        painter.span(static_cast<int>(y), box.right - reach, box.right - in);
    }
}

// A wide outline approximated as the ring between the ellipses that the pen's outer
// and inner edges follow; for ellipses too large to trace, or whose traced outline
// would take too long to stamp.
void wide_ellipse_ring(Coverage& coverage, const Box& box, i64 width) {
    const i64 before = width / 2, after = width - width / 2;
    const i64 ol = box.left - before, ot = box.top - before;
    const i64 ow = box.right - box.left - 1 + width, oh = box.bottom - box.top - 1 + width;
    const i64 il = box.left + after, it = box.top + after;
    const i64 iw = box.right - 1 - before - il, ih = box.bottom - 1 - before - it;
    const EllipseRows outer(ow, oh);
    const bool hollow = iw >= 2 && ih >= 2;
    const EllipseRows inner(hollow ? iw : 2, hollow ? ih : 2);
    const i64 y0 = std::max<i64>(ot, coverage.top), y1 = std::min<i64>(ot + oh, coverage.bottom);
    for (i64 y = y0; y < y1; ++y) {
        const i64 oin = outer.inset(y - ot);
        const i64 x0 = ol + oin, x1 = ol + ow - oin;
        if (hollow && y >= it && y < it + ih) {
            const i64 iin = inner.inset(y - it);
            if (2 * iin < iw) {
                coverage.span(static_cast<int>(y), x0, std::min(x1, il + iin));
                coverage.span(static_cast<int>(y), std::max(x0, il + iw - iin), x1);
                continue;
            }
        }
        coverage.span(static_cast<int>(y), x0, x1);
    }
}

void wide_ellipse(Coverage& coverage, const Box& box, i64 width) {
    const i64 w = box.right - box.left, h = box.bottom - box.top;
    if (w <= EllipseRows::kTracedLimit && h <= EllipseRows::kTracedLimit &&
        width <= EllipseRows::kTracedLimit) {
        static std::vector<Pt> pts;  // kept for the next ellipse
        ellipse_outline(box.left, box.top, box.right, box.bottom, pts);
        // Estimate the cost of a disc and a band at every point near the window, in
        // pixels set: stamping is exact, but a wide pen on a long stretch of outline
        // would take too long.
        const i64 reach = width / 2 + 1;
        i64 near = 0;
        for (const Pt& p : pts)
            near += p.x + reach >= coverage.left() && p.x - reach < coverage.right() &&
                    p.y + reach >= coverage.top && p.y - reach < coverage.bottom;
        const i64 rows = std::min<i64>(width, coverage.bottom - coverage.top);
        const i64 cols = std::min<i64>(width, coverage.right() - coverage.left());
        constexpr i64 kBudget = i64(1) << 27;
        if (near <= kBudget / std::max<i64>(1, rows * (cols + 8))) {
            wide_polyline(coverage, pts.data(), pts.size(), true, width);
            return;
        }
    }
    wide_ellipse_ring(coverage, box, width);
}

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
    const Tools tools(*dc);
    // The outline runs through the box's outer pixels, leaving out the right column
    // and the bottom row.
    const i64 l = box.left, t = box.top, r = box.right - 1, b = box.bottom - 1;
    if (tools.brush) {
        Painter painter(surface, tools.brush_pixel);
        // Outline and inside in one colour make one box; but a 1 x 1 box is nothing, its
        // outline having no length and its inside no room.
        if (tools.stroke == Tools::Stroke::Thin && tools.pen_pixel == tools.brush_pixel &&
            (r > l || b > t)) {
            fill_rect(painter, l, t, r + 1, b + 1);
            return TRUE;
        }
        // Inside a thin outline; under a wide one, which paints over it.
        const i64 in = tools.stroke == Tools::Stroke::Thin ? 1 : 0;
        fill_rect(painter, l + in, t + in, r, b);
    }
    const Pt corners[4] = {{r, t}, {l, t}, {l, b}, {r, b}};
    if (tools.stroke == Tools::Stroke::Thin) {
        Painter painter(surface, tools.pen_pixel);
        thin_polyline(painter, corners, 4, true);
    } else if (tools.stroke == Tools::Stroke::Wide) {
        Coverage coverage = coverage_for(surface, l, t, r + 1, b + 1, tools.pen_width);
        coverage.paint_as_drawn(surface, tools.pen_pixel);  // overlapping only at the corners
        wide_polyline(coverage, corners, 4, true, tools.pen_width);
        coverage.paint(surface, tools.pen_pixel);
    }
    return TRUE;
}

BOOL WINAPI Ellipse(HDC handle, int left, int top, int right, int bottom) {
    DC* dc = lookup_dc(handle);
    if (!dc) return FALSE;
    Box box(left, top, right, bottom);
    if (!dc->surface || box.empty()) return TRUE;
    const i64 w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 2 || h <= 2) return Rectangle(handle, left, top, right, bottom);
    Surface& surface = *dc->surface;
    const Tools tools(*dc);
    const EllipseRows rows(w, h);
    if (tools.brush) {
        Painter painter(surface, tools.brush_pixel);
        rows.fill(painter, box.left, box.top);
    }
    if (tools.stroke == Tools::Stroke::Thin) {
        Painter painter(surface, tools.pen_pixel);
        if (w <= EllipseRows::kTracedLimit && h <= EllipseRows::kTracedLimit) {
            static std::vector<Pt> outline;  // kept for the next ellipse
            ellipse_outline(box.left, box.top, box.right, box.bottom, outline);
            for (const Pt& p : outline) painter.dot(p.x, p.y);
        } else {
            thin_ellipse_by_rows(painter, rows, box);
        }
    } else if (tools.stroke == Tools::Stroke::Wide) {
        Coverage coverage = coverage_for(surface, box.left, box.top, box.right, box.bottom,
                                         tools.pen_width);
        wide_ellipse(coverage, box, tools.pen_width);
        coverage.paint(surface, tools.pen_pixel);
    }
    return TRUE;
}

BOOL WINAPI Polygon(HDC handle, const POINT* points, int count) {
    DC* dc = lookup_dc(handle);
    if (!dc || !points || count < 2) return FALSE;
    if (!dc->surface) return TRUE;
    Surface& surface = *dc->surface;
    const Tools tools(*dc);
    std::vector<Pt> pts(static_cast<size_t>(count));
    i64 x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        pts[static_cast<size_t>(i)] = {points[i].x, points[i].y};
        x0 = std::min<i64>(x0, points[i].x);
        y0 = std::min<i64>(y0, points[i].y);
        x1 = std::max<i64>(x1, points[i].x + i64(1));
        y1 = std::max<i64>(y1, points[i].y + i64(1));
    }
    if (tools.brush) {
        Painter painter(surface, tools.brush_pixel);
        fill_polygon(painter, pts.data(), pts.size());
    }
    if (tools.stroke == Tools::Stroke::Thin) {
        Painter painter(surface, tools.pen_pixel);
        thin_polyline(painter, pts.data(), pts.size(), true);
    } else if (tools.stroke == Tools::Stroke::Wide) {
        Coverage coverage = coverage_for(surface, x0, y0, x1, y1, tools.pen_width);
        // A few corners overlap little; many are collected so that none is painted twice.
        if (pts.size() <= FEW_CORNERS) coverage.paint_as_drawn(surface, tools.pen_pixel);
        wide_polyline(coverage, pts.data(), pts.size(), true, tools.pen_width);
        coverage.paint(surface, tools.pen_pixel);
    }
    return TRUE;
}

}  // extern "C"
