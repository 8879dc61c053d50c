// Lines: the thin one-pixel pen and the wide pen with round caps and joins, and
// MoveToEx / LineTo on top of them.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "raster.h"

namespace zp::raster {

namespace {

// GDI divides the coordinates of a far point of a slanted thin line by 8 before it
// walks the line, to keep the walk's arithmetic in range; lines that far out are drawn
// accordingly.
Pt crop_far(Pt p) {
    constexpr i64 FAR = 0x10000000;
    if (p.x >= FAR || p.x <= -FAR || p.y >= FAR || p.y <= -FAR) return {p.x / 8, p.y / 8};
    return p;
}

// A slanted line, walked along its major axis: step i lands on the minor coordinate
// minor0 + n(i), n(i) = floor((2 i dminor + dmajor + bias - 1) / (2 dmajor)), which is the
// Bresenham walk with GDI's tie-break: where the line passes midway between two
// pixels, octants 3, 5, 6 and 8 take the one further along the minor axis. Only the
// steps inside the surface are visited, starting from n(first) computed directly.
void slanted_line(Painter& painter, Pt a, Pt b, int width, int height) {
    a = crop_far(a);
    b = crop_far(b);
    const i64 dx = b.x - a.x, dy = b.y - a.y;
    // Octants 1..8 clockwise from +x; ties between |dx| and |dy| go to the y-major side.
    int octant;
    if (dy > 0) octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
    else octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
    const bool x_major = octant == 1 || octant == 4 || octant == 5 || octant == 8;
    const i64 bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;

    const i64 major0 = x_major ? a.x : a.y, minor0 = x_major ? a.y : a.x;
    const i64 major_step = (x_major ? dx : dy) < 0 ? -1 : 1;
    const i64 minor_step = (x_major ? dy : dx) < 0 ? -1 : 1;
    const i64 dmaj = std::llabs(x_major ? dx : dy), dmin = std::llabs(x_major ? dy : dx);
    const i64 major_size = x_major ? width : height, minor_size = x_major ? height : width;
    if (dmaj == 0) return;

    // Steps whose major coordinate is on the surface; the end point is left out.
    i64 first, last;  // [first, last)
    if (major_step > 0) {
        first = std::max<i64>(0, -major0);
        last = std::min<i64>(dmaj, major_size - major0);
    } else {
        first = std::max<i64>(0, major0 - major_size + 1);
        last = std::min<i64>(dmaj, major0 + 1);
    }
    if (first >= last) return;

    const __int128 num = static_cast<__int128>(2 * dmin) * first + dmaj + bias - 1;
    i64 n = static_cast<i64>(num / (2 * dmaj));
    // The walk's error term at step `first`, relative to the bias test err + bias > 0.
    i64 err = static_cast<i64>(2 * dmin - dmaj + static_cast<__int128>(2 * dmin) * first -
                               static_cast<__int128>(2 * dmaj) * n);
    // Pixels are stored straight into the surface (both coordinates are checked), and
    // the painted box is the one between the first and the last pixel stored.
    uint32_t* const pixels = painter.surface().pixels;
    const uint32_t pixel = painter.pixel();
    const i64 stride = painter.surface().stride;
    const i64 major_pitch = x_major ? 1 : stride, minor_pitch = x_major ? stride : 1;
    i64 first_drawn = -1, last_drawn = -1, first_n = 0, last_n = 0;
    for (i64 i = first; i < last; ++i) {
        const i64 minor = minor0 + minor_step * n;
        if (minor >= 0 && minor < minor_size) {
            pixels[(major0 + major_step * i) * major_pitch + minor * minor_pitch] = pixel;
            if (first_drawn < 0) {
                first_drawn = i;
                first_n = n;
            }
            last_drawn = i;
            last_n = n;
        } else if ((minor_step > 0) == (minor >= minor_size)) {
            break;  // walked off the surface for good
        }
        if (err + bias > 0) {
            ++n;
            err += 2 * dmin - 2 * dmaj;
        } else {
            err += 2 * dmin;
        }
    }
    if (first_drawn < 0) return;
    const i64 majors[2] = {major0 + major_step * first_drawn, major0 + major_step * last_drawn};
    const i64 minors[2] = {minor0 + minor_step * first_n, minor0 + minor_step * last_n};
    const i64 major_lo = std::min(majors[0], majors[1]), major_hi = std::max(majors[0], majors[1]);
    const i64 minor_lo = std::min(minors[0], minors[1]), minor_hi = std::max(minors[0], minors[1]);
    if (x_major)
        painter.covered(major_lo, minor_lo, major_hi + 1, minor_hi + 1);
    else
        painter.covered(minor_lo, major_lo, minor_hi + 1, major_hi + 1);
}

// The band of a wide segment between two distinct points, without its round ends.
void wide_segment(Coverage& coverage, Pt a, Pt b, i64 width) {
    const i64 dx = b.x - a.x, dy = b.y - a.y;
    if (dy == 0) {
        const i64 top = a.y - width / 2;
        fill_rect(coverage, std::min(a.x, b.x), top, std::max(a.x, b.x), top + width);
        return;
    }
    if (dx == 0) {
        const i64 left = a.x - width / 2;
        fill_rect(coverage, left, std::min(a.y, b.y), left + width, std::max(a.y, b.y));
        return;
    }
    // A parallelogram whose sides are the pen's width apart, with its corners rounded
    // to whole pixels: the half width on the "wide" side takes the extra half pixel.
    const double len = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    const double width_x = static_cast<double>(width) * static_cast<double>(std::llabs(dy)) / len;
    const double width_y = static_cast<double>(width) * static_cast<double>(std::llabs(dx)) / len;
    auto round_half = [](double f) { return static_cast<i64>(f + 0.5); };
    Pt narrow = {round_half(width_x / 2), round_half(width_y / 2)};
    Pt wide = {round_half((width_x + 1) / 2), round_half((width_y + 1) / 2)};
    if (dx < 0) {
        wide.y = -wide.y;
        narrow.y = -narrow.y;
    }
    if (dy < 0) {
        std::swap(narrow, wide);
        wide.x = -wide.x;
        narrow.x = -narrow.x;
    }
    const Pt corners[4] = {{a.x - narrow.x, a.y + narrow.y},
                           {a.x + wide.x, a.y - wide.y},
                           {b.x + wide.x, b.y - wide.y},
                           {b.x - narrow.x, b.y + narrow.y}};
    fill_polygon(coverage, corners, 4);
}

// The round cap and join: GDI's elliptic region of the pen's width, centred on the
// point with the extra pixel of an odd width to the right and below.
class Disc {
public:
    explicit Disc(i64 width) : width_(width), rows_(width, width) {}
    void stamp(Coverage& coverage, Pt centre) const {
        const i64 left = centre.x - width_ / 2, top = centre.y - width_ / 2;
        if (left >= coverage.right() || left + width_ <= coverage.left() ||
            top >= coverage.bottom || top + width_ <= coverage.top)
            return;
        if (covers(coverage, left, top)) {
            coverage.fill_all();
            return;
        }
        rows_.fill(coverage, left, top);
    }

private:
    // Whether the disc alone covers the whole window: rows narrow away from the
    // middle, so the window's first and last rows decide.
    bool covers(const Coverage& c, i64 left, i64 top) const {
        if (top > c.top || top + width_ < c.bottom || c.bottom <= c.top) return false;
        for (i64 y : {i64(c.top), i64(c.bottom) - 1}) {
            const i64 in = rows_.inset(y - top);
            if (left + in > c.left() || left + width_ - in < c.right()) return false;
        }
        return true;
    }
    i64 width_;
    EllipseRows rows_;
};

}  // namespace

void thin_line(Painter& painter, Pt a, Pt b) {
    // Straight lines cover the pixels from the start up to the end, whichever way
    // they run.
    if (a.y == b.y) {
        const i64 x0 = a.x <= b.x ? a.x : b.x + 1, x1 = a.x <= b.x ? b.x : a.x + 1;
        fill_rect(painter, x0, a.y, x1, a.y + 1);
    } else if (a.x == b.x) {
        const i64 y0 = a.y <= b.y ? a.y : b.y + 1, y1 = a.y <= b.y ? b.y : a.y + 1;
        fill_rect(painter, a.x, y0, a.x + 1, y1);
    } else {
        slanted_line(painter, a, b, painter.width(), painter.bottom);
    }
}

void thin_polyline(Painter& painter, const Pt* points, size_t count, bool close) {
    for (size_t i = 0; i + 1 < count; ++i) thin_line(painter, points[i], points[i + 1]);
    if (close && count >= 2) thin_line(painter, points[count - 1], points[0]);
}

void wide_polyline(Coverage& coverage, const Pt* points, size_t count, bool close, i64 width) {
    if (count == 0 || coverage.top >= coverage.bottom || coverage.left() >= coverage.right())
        return;
    // Every vertex gets a disc, as the cap of an end or the join of two segments.
    const Disc disc(width);
    for (size_t i = 0; i < count && !coverage.full(); ++i) disc.stamp(coverage, points[i]);
    const size_t segments = close ? count : count - 1;
    const i64 reach = width / 2 + 2;
    for (size_t i = 0; i < segments && !coverage.full(); ++i) {
        const Pt a = points[i], b = points[(i + 1) % count];
        if (a.x == b.x && a.y == b.y) continue;
        // Skip bands that pass beside the window; a band reaches half the pen's width
        // (and a rounded pixel) from its segment.
        if (std::min(a.x, b.x) - reach >= coverage.right() ||
            std::max(a.x, b.x) + reach < coverage.left() ||
            std::min(a.y, b.y) - reach >= coverage.bottom ||
            std::max(a.y, b.y) + reach < coverage.top)
            continue;
        wide_segment(coverage, a, b, width);
    }
}

}  // namespace zp::raster

using namespace zp;
using namespace zp::raster;

extern "C" {

BOOL WINAPI MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
    DC* dc = lookup_dc(handle);
    if (!dc) return FALSE;
    if (previous) *previous = dc->position;
    dc->position = {x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC handle, int x, int y) {
    DC* dc = lookup_dc(handle);
    if (!dc) return FALSE;
    const Pt ends[2] = {{dc->position.x, dc->position.y}, {x, y}};
    dc->position = {x, y};
    if (!dc->surface) return TRUE;
    const i64 x0 = std::min(ends[0].x, ends[1].x), y0 = std::min(ends[0].y, ends[1].y);
    const i64 x1 = std::max(ends[0].x, ends[1].x) + 1, y1 = std::max(ends[0].y, ends[1].y) + 1;
    dc->stroker->polyline(*dc, ends, 2, false, x0, y0, x1, y1);
    return TRUE;
}

}  // extern "C"
