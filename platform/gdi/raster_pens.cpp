// Pens and brushes as a DC draws with them: settled when they are selected, so that a
// figure asks its pen for an outline instead of weighing thin against wide each time.
#include <algorithm>
#include <vector>

#include "raster.h"

namespace zp::raster {

Coverage coverage_for(const Surface& surface, i64 x0, i64 y0, i64 x1, i64 y1, i64 pen_width) {
    const i64 margin = pen_width + 1;
    auto clamp = [](i64 v, int hi) { return static_cast<int>(std::clamp<i64>(v, 0, hi)); };
    return Coverage(clamp(x0 - margin, surface.width), clamp(y0 - margin, surface.height),
                    clamp(x1 + margin, surface.width), clamp(y1 + margin, surface.height));
}


namespace {

// Outlines of up to this many corners overlap too little to be worth collecting first.
constexpr size_t FEW_CORNERS = 8;

// An ellipse's box.
struct Box {
    i64 left, top, right, bottom;
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
    if (w <= EllipseRows::TRACED_LIMIT && h <= EllipseRows::TRACED_LIMIT &&
        width <= EllipseRows::TRACED_LIMIT) {
        static std::vector<Pt> pts;  // scratch, its memory kept for the next ellipse
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
        constexpr i64 BUDGET = i64(1) << 27;
        if (near <= BUDGET / std::max<i64>(1, rows * (cols + 8))) {
            wide_polyline(coverage, pts.data(), pts.size(), true, width);
            return;
        }
    }
    wide_ellipse_ring(coverage, box, width);
}


// ---- the three pens -----------------------------------------------------------------------

void null_polyline(const DC&, const Pt*, size_t, bool, i64, i64, i64, i64) {}
void null_ellipse(const DC&, i64, i64, i64, i64, const EllipseRows&) {}

void thin_polyline_of(const DC& dc, const Pt* points, size_t count, bool close, i64, i64, i64,
                      i64) {
    Painter painter(*dc.surface, dc.pen_pixel);
    if (count == 2 && !close)
        thin_line(painter, points[0], points[1]);
    else
        thin_polyline(painter, points, count, close);
}

void thin_ellipse(const DC& dc, i64 left, i64 top, i64 right, i64 bottom, const EllipseRows& rows) {
    Painter painter(*dc.surface, dc.pen_pixel);
    if (right - left <= EllipseRows::TRACED_LIMIT && bottom - top <= EllipseRows::TRACED_LIMIT) {
        static std::vector<Pt> outline;  // scratch, its memory kept for the next ellipse
        ellipse_outline(left, top, right, bottom, outline);
        for (const Pt& p : outline) painter.dot(p.x, p.y);
    } else {
        thin_ellipse_by_rows(painter, rows, Box{left, top, right, bottom});
    }
}

void wide_polyline_of(const DC& dc, const Pt* points, size_t count, bool close, i64 x0, i64 y0,
                      i64 x1, i64 y1) {
    Surface& surface = *dc.surface;
    Coverage coverage = coverage_for(surface, x0, y0, x1, y1, dc.pen_width);
    // A few corners overlap little; many are collected so that none is painted twice.
    if (count <= FEW_CORNERS) coverage.paint_as_drawn(surface, dc.pen_pixel);
    wide_polyline(coverage, points, count, close, dc.pen_width);
    coverage.paint(surface, dc.pen_pixel);
}

void wide_ellipse_of(const DC& dc, i64 left, i64 top, i64 right, i64 bottom, const EllipseRows&) {
    Surface& surface = *dc.surface;
    Coverage coverage = coverage_for(surface, left, top, right, bottom, dc.pen_width);
    wide_ellipse(coverage, Box{left, top, right, bottom}, dc.pen_width);
    coverage.paint(surface, dc.pen_pixel);
}

constexpr Stroker NULL_PEN_STROKER = {false, null_polyline, null_ellipse};
constexpr Stroker THIN_PEN_STROKER = {true, thin_polyline_of, thin_ellipse};
constexpr Stroker WIDE_PEN_STROKER = {false, wide_polyline_of, wide_ellipse_of};

}  // namespace
}  // namespace zp::raster

namespace zp {

void pen_selected(DC& dc, const Pen& pen) {
    dc.pen_pixel = pixel_from_colorref(pen.color);
    dc.pen_width = pen.width;
    dc.stroker = pen.style == PS_NULL ? &raster::NULL_PEN_STROKER
                 : pen.width > 1     ? &raster::WIDE_PEN_STROKER
                                     : &raster::THIN_PEN_STROKER;
}

void brush_selected(DC& dc, const Brush& brush) {
    dc.brush_fills = brush.style != BS_NULL;
    dc.brush_pixel = pixel_from_colorref(brush.color);
}

}  // namespace zp
