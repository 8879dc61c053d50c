// Inside of the GDI rasterizer: the shapes that Rectangle, Ellipse, Polygon and LineTo
// are made of, as runs of pixels.
//
// Pixel rules follow Wine's GDI (the reference our tests record footprints from):
// figures are unions of rows of half-open runs [x0, x1). Coordinates are 64-bit inside,
// so that no sum of two 32-bit arguments overflows, and every shape is clipped to the
// rows of the surface before a row is visited: work is bounded by the surface size.
#ifndef ZORVE_PLATFORM_GDI_RASTER_H
#define ZORVE_PLATFORM_GDI_RASTER_H

#include <cstdint>
#include <vector>

#include "gdi.h"

namespace zp::raster {

using i64 = int64_t;

struct Pt {
    i64 x, y;
};

// Sets n pixels from p on to v, with the widest stores the processor has; a run of
// one to three pixels is not worth a call.
#if defined(__x86_64__) || defined(__i386__)
extern const bool HAVE_AVX2;
void fill_pixels_avx2(uint32_t* p, size_t n, uint32_t v);
void fill_pixels_sse2(uint32_t* p, size_t n, uint32_t v);
inline void fill_pixels(uint32_t* p, size_t n, uint32_t v) {
    if (n < 4) {
        for (size_t i = 0; i < n; ++i) p[i] = v;
    } else if (HAVE_AVX2) {
        fill_pixels_avx2(p, n, v);
    } else {
        fill_pixels_sse2(p, n, v);
    }
}
#else
void fill_pixels(uint32_t* p, size_t n, uint32_t v);
#endif

// Receives runs [x0, x1) on row y; rows outside [top, bottom) are never sent, runs are
// clipped by the receiver.
class SpanSink {
public:
    int top = 0, bottom = 0;
    virtual void span(int y, i64 x0, i64 x1) = 0;

protected:
    ~SpanSink() = default;
};

// Paints runs in one colour onto a surface, and marks what it painted there when done.
class Painter final : public SpanSink {
public:
    Painter(Surface& surface, uint32_t pixel);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;
    void span(int y, i64 x0, i64 x1) override;
    // Every row of [x0, x1) x [y0, y1); rows as wide as a surface without padding are
    // one run.
    void rect(i64 x0, i64 y0, i64 x1, i64 y1);
    int width() const { return surface_.width; }
    Surface& surface() const { return surface_; }
    uint32_t pixel() const { return pixel_; }
    // Records that [x0, x1) x [y0, y1), inside the surface, was painted directly.
    void covered(i64 x0, i64 y0, i64 x1, i64 y1) {
        cover(x0, y0, x1);
        cover(x0, y1 - 1, x1);
    }
    void dot(i64 x, i64 y) {
        if (static_cast<uint64_t>(x) < static_cast<uint64_t>(surface_.width) &&
            static_cast<uint64_t>(y) < static_cast<uint64_t>(surface_.height)) {
            surface_.row(static_cast<int>(y))[x] = pixel_;
            cover(x, y, x + 1);
        }
    }

private:
    void cover(i64 x0, i64 y, i64 x1) {
        if (x0 < left_) left_ = x0;
        if (x1 > right_) right_ = x1;
        if (y < top_) top_ = y;
        if (y >= bottom_) bottom_ = y + 1;
    }
    Surface& surface_;
    uint32_t pixel_;
    i64 left_ = INT64_MAX, top_ = INT64_MAX, right_ = INT64_MIN, bottom_ = INT64_MIN;
};

// A set of pixels inside a window of the surface, built up as a union of runs: what a
// wide pen draws. An outline of many caps and segments that overlap one another (an
// ellipse's) is collected before it is painted, so that no pixel is painted more than
// once: each row keeps its runs merged as they come, sorted and apart, and the work
// follows the outline, not the window's area. A row that breaks into many runs (a
// hostile polygon) turns the whole set into a mask of the window instead, whose cost is
// bounded by the area. A figure of a few caps and segments overlaps little, and is
// painted as it comes (paint_as_drawn).
class Coverage final : public SpanSink {
public:
    // The window is [left, right) x [top, bottom), already inside the surface.
    Coverage(int left, int top, int right, int bottom);
    // From now on runs go straight onto the surface, in one colour.
    void paint_as_drawn(Surface& surface, uint32_t pixel);
    void span(int y, i64 x0, i64 x1) override;
    void fill_all();
    bool full() const { return full_; }
    // Paints the set (what is not painted yet) and marks what was painted.
    void paint(Surface& surface, uint32_t pixel);
    int left() const { return left_; }
    int right() const { return right_; }

private:
    void painted(int x0, int y, int x1) {
        x_min_ = x0 < x_min_ ? x0 : x_min_;
        x_max_ = x1 > x_max_ ? x1 : x_max_;
        y_min_ = y < y_min_ ? y : y_min_;
        y_max_ = y + 1 > y_max_ ? y + 1 : y_max_;
    }
    Surface* direct_ = nullptr;
    uint32_t direct_pixel_ = 0;
    int x_min_ = INT32_MAX, x_max_ = INT32_MIN, y_min_ = INT32_MAX, y_max_ = INT32_MIN;
    static constexpr int ROW_RUNS_LIMIT = 32;  // runs a row may hold before the mask
    struct Run {
        int32_t x0, x1;
        int32_t next;  // index of the next run to the right, or -1
    };
    void to_mask();
    void mask_span(int y, int x0, int x1);
    int left_, right_;
    bool full_ = false;
    std::vector<int32_t> first_;  // per row: its leftmost run, or -1
    std::vector<Run> runs_;
    std::vector<uint8_t> mask_;  // only once a row held too many runs
};

// The coverage window for a figure inside [x0, x1) x [y0, y1) drawn with a wide pen.
Coverage coverage_for(const Surface& surface, i64 x0, i64 y0, i64 x1, i64 y1, i64 pen_width);


// Shapes, clipped to the sink's rows.
void fill_rect(SpanSink& sink, i64 left, i64 top, i64 right, i64 bottom);
inline void fill_rect(Painter& painter, i64 left, i64 top, i64 right, i64 bottom) {
    painter.rect(left, top, right, bottom);
}
// Fill of a closed polygon by the even-odd rule. A pixel on row y is inside when
// ceil(x of the left edge at y) <= x < ceil(x of the right edge at y); edges cover the
// rows from their upper end to just above their lower end.
void fill_polygon(SpanSink& sink, const Pt* points, size_t count);

// The rows of an ellipse inscribed in a w x h box, as insets from the box's sides
// (w, h >= 2). Small boxes are traced exactly as GDI's elliptic regions are; boxes
// beyond TRACED_LIMIT, where GDI's own integer arithmetic gives out, are computed from
// the ellipse equation.
class EllipseRows {
public:
    static constexpr i64 TRACED_LIMIT = 46340;
    EllipseRows(i64 w, i64 h);
    EllipseRows(const EllipseRows&) = delete;
    EllipseRows& operator=(const EllipseRows&) = delete;
    i64 height() const { return h_; }
    i64 inset(i64 row) const;  // row in [0, h)
    // Fills the ellipse whose box has its top-left corner at (left, top).
    void fill(SpanSink& sink, i64 left, i64 top) const;

private:
    // The traced rows of small ellipses (eyes, pen caps) stay in the object itself.
    static constexpr size_t INLINE_ROWS = 32;
    i64 w_, h_;
    int32_t* traced_ = nullptr;  // insets of rows h/2 .. h-1 when traced
    int32_t inline_[INLINE_ROWS];
    std::vector<int32_t> heap_;
};

// The closed outline of the ellipse in box [left, right) x [top, bottom), as the
// points GDI connects with the pen (every point is a pixel of a thin outline), into
// `pts` (emptied first, so a caller can keep one buffer for every ellipse).
// Only for boxes within EllipseRows::TRACED_LIMIT.
void ellipse_outline(i64 left, i64 top, i64 right, i64 bottom, std::vector<Pt>& pts);

// Thin (cosmetic) pen: a line from a to b without its end point.
void thin_line(Painter& painter, Pt a, Pt b);
void thin_polyline(Painter& painter, const Pt* points, size_t count, bool close);

// Wide pen with round caps and joins: a disc at every vertex and a band along every
// segment, collected in `coverage`.
void wide_polyline(Coverage& coverage, const Pt* points, size_t count, bool close, i64 width);

// How a DC's selected pen draws outlines, chosen when the pen is selected, as a display
// driver picks its pen functions: a null pen draws nothing, a pen of width 0 or 1 the
// one-pixel cosmetic line, a wider one round caps and joins around bands.
struct Stroker {
    bool one_pixel;  // the outline covers the figure's outermost pixels and no more
    // The lines through `count` points, back to the first when `close`; the figure lies
    // within [x0, x1) x [y0, y1).
    void (*polyline)(const DC& dc, const Pt* points, size_t count, bool close, i64 x0, i64 y0,
                     i64 x1, i64 y1);
    // The outline of the ellipse in [left, right) x [top, bottom), whose filled rows are
    // `rows`.
    void (*ellipse)(const DC& dc, i64 left, i64 top, i64 right, i64 bottom, const EllipseRows& rows);
};

}  // namespace zp::raster

#endif
