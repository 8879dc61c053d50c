// Runs of pixels: painting them, collecting them, and the shapes that are filled row by
// row (rectangles and polygons).
#include <algorithm>
#include <cstring>

#include "raster.h"

namespace zp::raster {

Painter::Painter(Surface& surface, uint32_t pixel) : surface_(surface), pixel_(pixel) {
    top = 0;
    bottom = surface.height;
}

Painter::~Painter() {
    if (left_ < right_) surface_.mark(left_, top_, right_, bottom_);
}

void Painter::span(int y, i64 x0, i64 x1) {
    x0 = std::max<i64>(x0, 0);
    x1 = std::min<i64>(x1, surface_.width);
    if (x0 >= x1) return;
    fill_pixels(surface_.row(y) + x0, static_cast<size_t>(x1 - x0), pixel_);
    cover(x0, y, x1);
}

Coverage::Coverage(int left, int top_row, int right, int bottom_row)
    : left_(left), right_(right) {
    top = top_row;
    bottom = std::max(top_row, bottom_row);
    if (right_ < left_) right_ = left_;
    mask_.assign(static_cast<size_t>(right_ - left_) * static_cast<size_t>(bottom - top), 0);
}

void Coverage::span(int y, i64 x0, i64 x1) {
    x0 = std::max<i64>(x0, left_);
    x1 = std::min<i64>(x1, right_);
    if (x0 >= x1) return;
    const size_t width = static_cast<size_t>(right_ - left_);
    uint8_t* row = mask_.data() + static_cast<size_t>(y - top) * width;
    std::memset(row + (x0 - left_), 1, static_cast<size_t>(x1 - x0));
}

void Coverage::fill_all() {
    std::fill(mask_.begin(), mask_.end(), 1);
    full_ = true;
}

void Coverage::paint(Surface& surface, uint32_t pixel) const {
    const size_t width = static_cast<size_t>(right_ - left_);
    surface.mark(left_, top, right_, bottom);
    for (int y = top; y < bottom; ++y) {
        const uint8_t* m = mask_.data() + static_cast<size_t>(y - top) * width;
        uint32_t* row = surface.row(y) + left_;
        size_t x = 0;
        while (x < width) {
            const void* hit = std::memchr(m + x, 1, width - x);
            if (!hit) break;
            size_t start = static_cast<size_t>(static_cast<const uint8_t*>(hit) - m);
            const void* miss = std::memchr(m + start, 0, width - start);
            size_t end = miss ? static_cast<size_t>(static_cast<const uint8_t*>(miss) - m) : width;
            fill_pixels(row + start, end - start, pixel);
            x = end;
        }
    }
}

void fill_rect(SpanSink& sink, i64 left, i64 top, i64 right, i64 bottom) {
    if (left >= right) return;
    const i64 y0 = std::max<i64>(top, sink.top);
    const i64 y1 = std::min<i64>(bottom, sink.bottom);
    for (i64 y = y0; y < y1; ++y) sink.span(static_cast<int>(y), left, right);
}

namespace {

struct Edge {
    i64 top_y, bottom_y;  // rows [top_y, bottom_y)
    i64 top_x, dx, dy;    // dy > 0
};

i64 floor_div(__int128 n, i64 d) {  // d > 0
    __int128 q = n / d;
    if (n % d != 0 && n < 0) --q;
    return static_cast<i64>(q);
}

// ceil(top_x + (y - top_y) * dx / dy), the edge's first pixel on row y.
i64 edge_x(const Edge& e, i64 y) {
    const i64 k = y - e.top_y;
    if (k < (i64(1) << 30) && e.dx > -(i64(1) << 32) && e.dx < (i64(1) << 32)) {
        const i64 n = k * e.dx;
        i64 q = n / e.dy;
        if (n % e.dy != 0 && n > 0) ++q;
        return e.top_x + q;
    }
    return e.top_x - floor_div(-static_cast<__int128>(k) * e.dx, e.dy);
}

}  // namespace

void fill_polygon(SpanSink& sink, const Pt* points, size_t count) {
    if (count < 2) return;
    std::vector<Edge> edges;
    edges.reserve(count);
    i64 ymin = INT64_MAX, ymax = INT64_MIN;
    for (size_t i = 0; i < count; ++i) {
        Pt a = points[i == 0 ? count - 1 : i - 1], b = points[i];
        if (a.y == b.y) continue;
        if (a.y > b.y) std::swap(a, b);
        if (b.y <= sink.top || a.y >= sink.bottom) continue;
        edges.push_back({a.y, b.y, a.x, b.x - a.x, b.y - a.y});
        ymin = std::min(ymin, a.y);
        ymax = std::max(ymax, b.y);
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(),
              [](const Edge& p, const Edge& q) { return p.top_y < q.top_y; });
    const i64 y0 = std::max<i64>(ymin, sink.top);
    const i64 y1 = std::min<i64>(ymax, sink.bottom);
    std::vector<const Edge*> active;
    std::vector<i64> xs;
    size_t next = 0;
    for (i64 y = y0; y < y1; ++y) {
        while (next < edges.size() && edges[next].top_y <= y) active.push_back(&edges[next++]);
        std::erase_if(active, [y](const Edge* e) { return e->bottom_y <= y; });
        xs.clear();
        for (const Edge* e : active) xs.push_back(edge_x(*e, y));
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            if (xs[i] < xs[i + 1]) sink.span(static_cast<int>(y), xs[i], xs[i + 1]);
    }
}

}  // namespace zp::raster
