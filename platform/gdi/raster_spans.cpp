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

void Painter::rect(i64 x0, i64 y0, i64 x1, i64 y1) {
    x0 = std::max<i64>(x0, 0);
    x1 = std::min<i64>(x1, surface_.width);
    y0 = std::max<i64>(y0, top);
    y1 = std::min<i64>(y1, bottom);
    if (x0 >= x1 || y0 >= y1) return;
    const size_t n = static_cast<size_t>(x1 - x0);
    if (n == static_cast<size_t>(surface_.stride)) {
        fill_pixels(surface_.row(static_cast<int>(y0)), n * static_cast<size_t>(y1 - y0), pixel_);
    } else {
        for (i64 y = y0; y < y1; ++y)
            fill_pixels(surface_.row(static_cast<int>(y)) + x0, n, pixel_);
    }
    cover(x0, y0, x1);
    cover(x0, y1 - 1, x1);
}

Coverage::Coverage(int left, int top_row, int right, int bottom_row)
    : left_(left), right_(right) {
    top = top_row;
    bottom = std::max(top_row, bottom_row);
    if (right_ < left_) right_ = left_;
    first_.assign(static_cast<size_t>(bottom - top), -1);
}

void Coverage::paint_as_drawn(Surface& surface, uint32_t pixel) {
    direct_ = &surface;
    direct_pixel_ = pixel;
}

void Coverage::span(int y, i64 x0_in, i64 x1_in) {
    const int x0 = static_cast<int>(std::max<i64>(x0_in, left_));
    const int x1 = static_cast<int>(std::min<i64>(x1_in, right_));
    if (x0 >= x1 || full_) return;
    if (direct_) {
        fill_pixels(direct_->row(y) + x0, static_cast<size_t>(x1 - x0), direct_pixel_);
        painted(x0, y, x1);
        return;
    }
    if (!mask_.empty()) {
        mask_span(y, x0, x1);
        return;
    }
    // Find the first run that reaches x0 (touching counts), then either put a new run
    // before it or widen it and swallow the runs the widened one now reaches.
    int32_t* link = &first_[static_cast<size_t>(y - top)];
    int32_t previous = -1;
    int walked = 0;
    while (*link >= 0 && runs_[size_t(*link)].x1 < x0) {
        previous = *link;
        link = &runs_[size_t(*link)].next;
        if (++walked == ROW_RUNS_LIMIT) {
            to_mask();
            mask_span(y, x0, x1);
            return;
        }
    }
    if (*link < 0 || runs_[size_t(*link)].x0 > x1) {
        const int32_t next = *link;
        const auto added = static_cast<int32_t>(runs_.size());
        runs_.push_back({x0, x1, next});  // may move the runs: link is not used again
        if (previous < 0)
            first_[static_cast<size_t>(y - top)] = added;
        else
            runs_[size_t(previous)].next = added;
        return;
    }
    Run& r = runs_[size_t(*link)];
    r.x0 = std::min(r.x0, x0);
    r.x1 = std::max(r.x1, x1);
    while (r.next >= 0 && runs_[size_t(r.next)].x0 <= r.x1) {
        r.x1 = std::max(r.x1, runs_[size_t(r.next)].x1);
        r.next = runs_[size_t(r.next)].next;
    }
}

void Coverage::to_mask() {
    const size_t width = static_cast<size_t>(right_ - left_);
    mask_.assign(width * first_.size(), 0);
    for (size_t row = 0; row < first_.size(); ++row)
        for (int32_t i = first_[row]; i >= 0; i = runs_[size_t(i)].next)
            mask_span(top + static_cast<int>(row), runs_[size_t(i)].x0, runs_[size_t(i)].x1);
    runs_.clear();
}

void Coverage::mask_span(int y, int x0, int x1) {
    const size_t width = static_cast<size_t>(right_ - left_);
    std::memset(mask_.data() + static_cast<size_t>(y - top) * width + (x0 - left_), 1,
                static_cast<size_t>(x1 - x0));
}

void Coverage::fill_all() {
    if (direct_) {
        const size_t width = static_cast<size_t>(right_ - left_);
        for (int y = top; y < bottom; ++y)
            fill_pixels(direct_->row(y) + left_, width, direct_pixel_);
        if (top < bottom && left_ < right_) {
            painted(left_, top, right_);
            painted(left_, bottom - 1, right_);
        }
    }
    full_ = true;
}

void Coverage::paint(Surface& surface, uint32_t pixel) {
    if (!direct_ && top < bottom && left_ < right_) {
        if (full_) {
            const size_t width = static_cast<size_t>(right_ - left_);
            for (int y = top; y < bottom; ++y) fill_pixels(surface.row(y) + left_, width, pixel);
            painted(left_, top, right_);
            painted(left_, bottom - 1, right_);
        } else if (mask_.empty()) {
            for (int y = top; y < bottom; ++y) {
                uint32_t* row = surface.row(y);
                for (int32_t i = first_[size_t(y - top)]; i >= 0; i = runs_[size_t(i)].next) {
                    const Run& r = runs_[size_t(i)];
                    fill_pixels(row + r.x0, static_cast<size_t>(r.x1 - r.x0), pixel);
                    painted(r.x0, y, r.x1);
                }
            }
        } else {
            const size_t width = static_cast<size_t>(right_ - left_);
            for (int y = top; y < bottom; ++y) {
                const uint8_t* m = mask_.data() + static_cast<size_t>(y - top) * width;
                uint32_t* row = surface.row(y) + left_;
                size_t x = 0;
                while (x < width) {
                    const void* hit = std::memchr(m + x, 1, width - x);
                    if (!hit) break;
                    const size_t start = static_cast<size_t>(static_cast<const uint8_t*>(hit) - m);
                    const void* miss = std::memchr(m + start, 0, width - start);
                    const size_t end =
                        miss ? static_cast<size_t>(static_cast<const uint8_t*>(miss) - m) : width;
                    fill_pixels(row + start, end - start, pixel);
                    painted(left_ + static_cast<int>(start), y, left_ + static_cast<int>(end));
                    x = end;
                }
            }
        }
    }
    if (x_min_ < x_max_) surface.mark(x_min_, y_min_, x_max_, y_max_);
}

void fill_rect(SpanSink& sink, i64 left, i64 top, i64 right, i64 bottom) {
    if (left >= right) return;
    const i64 y0 = std::max<i64>(top, sink.top);
    const i64 y1 = std::min<i64>(bottom, sink.bottom);
    for (i64 y = y0; y < y1; ++y) sink.span(static_cast<int>(y), left, right);
}

namespace {

// An edge covering rows [top_y, bottom_y), walked one row at a time with exact integer
// steps: at row top_y + k its first pixel is ceil(top_x + k dx / dy), kept as
// top_x + floor(k dx / dy) and the remainder of that division.
struct Edge {
    i64 top_y, bottom_y;
    i64 top_x, dx, dy;  // dy > 0
    i64 base = 0, rem = 0;       // at the current row: k dx = (base - top_x) dy + rem
    i64 step = 0, step_rem = 0;  // dx = step dy + step_rem, 0 <= step_rem < dy

    i64 x() const { return base + (rem > 0 ? 1 : 0); }
    void start_at(i64 y) {
        step = floor_div(dx, dy);
        step_rem = dx - step * dy;
        const __int128 n = static_cast<__int128>(y - top_y) * dx;
        const i64 q = floor_div(n, dy);
        base = top_x + q;
        rem = static_cast<i64>(n - static_cast<__int128>(q) * dy);
    }
    void advance() {
        base += step;
        rem += step_rem;
        if (rem >= dy) {
            rem -= dy;
            ++base;
        }
    }
    static i64 floor_div(__int128 n, i64 d) {  // d > 0
        __int128 q = n / d;
        if (n % d != 0 && n < 0) --q;
        return static_cast<i64>(q);
    }
};

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
    std::vector<Edge*> active;
    std::vector<i64> xs;
    size_t next = 0;
    for (i64 y = y0; y < y1;) {
        // The set of edges changes only where one starts or ends; between those rows
        // each edge steps along.
        while (next < edges.size() && edges[next].top_y <= y) {
            edges[next].start_at(y);
            active.push_back(&edges[next++]);
        }
        std::erase_if(active, [y](const Edge* e) { return e->bottom_y <= y; });
        i64 until = y1;
        if (next < edges.size()) until = std::min(until, edges[next].top_y);
        for (const Edge* e : active) until = std::min(until, e->bottom_y);
        for (; y < until; ++y) {
            if (active.size() == 2) {
                const i64 a = active[0]->x(), b = active[1]->x();
                if (a != b) sink.span(static_cast<int>(y), std::min(a, b), std::max(a, b));
            } else {
                xs.clear();
                for (const Edge* e : active) xs.push_back(e->x());
                std::sort(xs.begin(), xs.end());
                for (size_t i = 0; i + 1 < xs.size(); i += 2)
                    if (xs[i] < xs[i + 1]) sink.span(static_cast<int>(y), xs[i], xs[i + 1]);
            }
            for (Edge* e : active) e->advance();
        }
    }
}

}  // namespace zp::raster
