// Ellipses: the rows of a filled ellipse and the points of its outline.
//
// Both are traced with the same integer walk that GDI uses (the midpoint ellipse walk
// published by Alois Zingl): from the end of the horizontal axis towards the end of the
// vertical one, stepping in x, in y or in both, whichever keeps the error smallest.
#include <algorithm>
#include <cmath>

#include "raster.h"

namespace zp::raster {

namespace {

// The walk's state for a w x h box: a = w - 1 and b = h - 1 are the axes of the
// ellipse through the centres of the box's outer pixels, doubled.
struct Walk {
    i64 asq, bsq, dx, dy, err;
    Walk(i64 w, i64 h) {
        const i64 a = w - 1, b = h - 1;
        asq = 8 * a * a;
        bsq = 8 * b * b;
        dx = 4 * b * b * (1 - a);
        dy = 4 * a * a * (1 + b % 2);
        err = dx + dy + a * a * (b % 2);
    }
    // One step; reports which of the coordinates moved.
    void step(bool& x_moved, bool& y_moved) {
        const i64 e2 = 2 * err;
        x_moved = e2 >= dx;
        y_moved = e2 <= dy;
        if (x_moved) err += (dx += bsq);
        if (y_moved) err += (dy += asq);
    }
};

}  // namespace

EllipseRows::EllipseRows(i64 w, i64 h) : w_(w), h_(h) {
    if (w > TRACED_LIMIT || h > TRACED_LIMIT) return;
    // Rows from the middle one down; the upper half mirrors them. A narrow ellipse can
    // run out of width before the walk reaches its last rows, which are then empty.
    const size_t rows = static_cast<size_t>(h - h / 2);
    if (rows <= INLINE_ROWS) {
        traced_ = inline_;
    } else {
        heap_.resize(rows);
        traced_ = heap_.data();
    }
    std::fill(traced_, traced_ + rows, 0);
    Walk walk(w, h);
    i64 x = 0, y = h / 2;
    while (x <= w / 2) {
        bool x_moved, y_moved;
        walk.step(x_moved, y_moved);
        if (x_moved) ++x;
        if (y_moved && ++y < h) traced_[static_cast<size_t>(y - h / 2)] = static_cast<int32_t>(x);
    }
    for (++y; y < h; ++y) traced_[static_cast<size_t>(y - h / 2)] = static_cast<int32_t>(x);
}

i64 EllipseRows::inset(i64 row) const {
    if (row < h_ / 2) row = h_ - 1 - row;
    if (traced_) return traced_[static_cast<size_t>(row - h_ / 2)];
    // Half the width of the ellipse at the middle of the row.
    const double ry = h_ / 2.0, rx = w_ / 2.0;
    const double v = (row + 0.5 - ry) / ry;
    const double half = rx * std::sqrt(std::max(0.0, 1.0 - v * v));
    return std::clamp<i64>(std::llround(rx - half), 0, w_ / 2 + 1);
}

void EllipseRows::fill(SpanSink& sink, i64 left, i64 top) const {
    const i64 y0 = std::max<i64>(top, sink.top);
    const i64 y1 = std::min<i64>(top + h_, sink.bottom);
    for (i64 y = y0; y < y1; ++y) {
        const i64 in = inset(y - top);
        if (2 * in < w_) sink.span(static_cast<int>(y), left + in, left + w_ - in);
    }
}

void ellipse_outline(i64 left, i64 top, i64 right, i64 bottom, std::vector<Pt>& pts) {
    const i64 w = right - left, h = bottom - top;
    // The first quadrant, from the right end of the horizontal axis upwards.
    pts.clear();
    pts.reserve(static_cast<size_t>(2 * (w + h) + 8));
    Walk walk(w, h);
    i64 x = w - 1, y = h / 2;
    while (x >= w / 2) {
        pts.push_back({left + x, top + h - 1 - y});
        bool x_moved, y_moved;
        walk.step(x_moved, y_moved);
        if (x_moved) --x;
        if (y_moved) ++y;
    }
    // Mirror it left to right, then top to bottom, into one closed path; an axis of odd
    // length has a middle point, which is not repeated.
    const size_t quadrant = pts.size();
    for (size_t i = (w % 2) ? 1 : 0; i < quadrant; ++i) {
        const Pt& p = pts[quadrant - 1 - i];
        pts.push_back({left + right - 1 - p.x, p.y});
    }
    const size_t half = pts.size();
    for (size_t i = (h % 2) ? 1 : 0; i < half; ++i) {
        const Pt& p = pts[half - 1 - i];
        pts.push_back({p.x, top + bottom - 1 - p.y});
    }
}

}  // namespace zp::raster
