// The card's objects on the canvas: five kinds of shape, messages, selection marks.
#include "shapes.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "zorve.h"

int contrast_color(int color) { return color == ZORVE_BLACK ? ZORVE_GRAY_50 : ZORVE_BLACK; }

void draw_objects(int background_color, EditMode edit_mode, const ObjectTable& table) {
    for (int slot = 0; table[slot].state != OBJ_EMPTY && table[slot].state != OBJ_END; ++slot) {
        const bool selected = slot == edit_mode;
        if (table[slot].state == OBJ_SHAPE)
            draw_shape(table[slot], background_color, selected);
        else
            draw_message(table[slot], background_color, selected);
    }
}

void draw_shape(const CardObject& object, int background_color, bool selected) {
    switch (object.kind) {
        case SHAPE_HEART: draw_heart(object, background_color, selected); break;
        case SHAPE_STARBURST: draw_starburst(object, background_color, selected); break;
        case SHAPE_FILLED_FACE: draw_filled_face(object, background_color, selected); break;
        case SHAPE_OUTLINED_FACE: draw_outlined_face(object, background_color, selected); break;
        case SHAPE_BARE_FACE: draw_bare_face(object, background_color, selected); break;
        default: break;  // an unknown kind draws nothing, not even marks
    }
}

void draw_heart(const CardObject& object, int background_color, bool selected) {
    const int x = object.x, y = object.y, c = object.color;
    // Two overlapping discs over a downward triangle; d pulses between 17 and 20.
    const int d = HEART_SIZE / 2 + std::rand() % 4;
    ZORVE_draw_circle(c, x - d + 5, y, d);
    ZORVE_draw_circle(c, x + d - 5, y, d);
    ZORVE_draw_triangle(c, x - 2 * d + 5, y - 5, x + 2 * d - 5, y - 5, x, y - 2 * d - 5, 0);
    if (selected) draw_selection_marks(object, background_color);
}

void draw_starburst(const CardObject& object, int background_color, bool selected) {
    const int x = object.x, y = object.y, c = object.color;
    // n diameters evenly spread over a turn: 5 or 7 give twice as many rays, 6 gives 6.
    const int n = std::rand() % 3 + 5;
    for (double a = 0.0; a < FULL_TURN; a = a + FULL_TURN / n) {
        const int g = static_cast<int>(std::cos(a) * STAR_RAY);
        const int h = static_cast<int>(std::sin(a) * STAR_RAY);
        ZORVE_draw_line(c, x + g, y + h, x - g, y - h, 1);
    }
    if (selected) draw_selection_marks(object, background_color);
}

namespace {

constexpr int EYE_DX = FACE_SIZE / 3;
constexpr int EYE_DY = FACE_SIZE / 4;
constexpr int EYE_RADIUS = FACE_SIZE / 15;
constexpr int SMILE_RADIUS = 3 * FACE_SIZE / 4;
constexpr int OUTLINED_SMILE_RADIUS = 3 * FACE_SIZE / 5;

void draw_eyes(int color, int x, int y) {
    ZORVE_draw_circle(color, x + EYE_DX, y + EYE_DY, EYE_RADIUS);
    ZORVE_draw_circle(color, x - EYE_DX, y + EYE_DY, EYE_RADIUS);
}

}  // namespace

void draw_filled_face(const CardObject& object, int background_color, bool selected) {
    const int x = object.x, y = object.y, c = object.color;
    ZORVE_draw_circle(c, x, y, FACE_SIZE);
    const int k = contrast_color(c);  // features must show on the face's own colour
    draw_eyes(k, x, y);
    draw_arc(k, SMILE_RADIUS, SMILE_START, SMILE_END, x, y, 1);
    if (selected) draw_selection_marks(object, background_color);
}

void draw_outlined_face(const CardObject& object, int background_color, bool selected) {
    const int x = object.x, y = object.y, c = object.color;
    draw_arc(c, FACE_SIZE, 0.0, FULL_TURN, x, y, 2);
    draw_eyes(c, x, y);
    draw_arc(c, OUTLINED_SMILE_RADIUS, SMILE_START, SMILE_END, x, y, 2);
    if (selected) draw_selection_marks(object, background_color);
}

void draw_bare_face(const CardObject& object, int background_color, bool selected) {
    const int x = object.x, y = object.y, c = object.color;
    draw_eyes(c, x, y);
    draw_arc(c, SMILE_RADIUS, SMILE_START, SMILE_END, x, y, 1);
    if (selected) draw_selection_marks(object, background_color);
}

void draw_message(const CardObject& object, int background_color, bool selected) {
    const int x = object.x, y = object.y, s = object.point_size;
    ZORVE_draw_textf(object.color, x, y, s, "%s", message_text(object.kind));
    if (!selected) return;
    // Ticks on the left half of the square over the first letter, the one a click hits.
    const int k = contrast_color(background_color);
    ZORVE_draw_line(k, x, y, x, y + s / 4, 1);
    ZORVE_draw_line(k, x, y, x + s / 2, y, 1);
    ZORVE_draw_line(k, x, y + s, x, y + 3 * s / 4, 1);
    ZORVE_draw_line(k, x, y + s, x + s / 2, y + s, 1);
}

void draw_selection_marks(const CardObject& object, int background_color) {
    const int x = object.x, y = object.y;
    const int u = object.extent_up, d = object.extent_down;
    const int l = object.extent_left, r = object.extent_right;
    const int k = contrast_color(background_color);
    // Each corner of the hit box gets two ticks running a quarter of the extent inwards.
    ZORVE_draw_line(k, x - l, y - d, x - l, y - 3 * d / 4, 1);
    ZORVE_draw_line(k, x - l, y - d, x - 3 * l / 4, y - d, 1);
    ZORVE_draw_line(k, x - l, y + u, x - l, y + 3 * u / 4, 1);
    ZORVE_draw_line(k, x - l, y + u, x - 3 * l / 4, y + u, 1);
    ZORVE_draw_line(k, x + r, y - d, x + r, y - 3 * d / 4, 1);
    ZORVE_draw_line(k, x + r, y - d, x + 3 * r / 4, y - d, 1);
    ZORVE_draw_line(k, x + r, y + u, x + r, y + 3 * u / 4, 1);
    ZORVE_draw_line(k, x + r, y + u, x + 3 * r / 4, y + u, 1);
}

namespace {

struct ArcPoint {
    int dx, dy;  // from the centre
};

// Half a pixel of arc length per step, so neighbouring points touch.
double arc_step(int r) { return ((1.0 / r) * 5.0) / 10.0; }

ArcPoint arc_point(int r, double a) {
    return {static_cast<int>(std::cos(a) * r), static_cast<int>(std::sin(a) * r)};
}

// A ring's points depend only on its radius and angles, and a card draws the same few
// rings over and over: each is worked out once and kept, a few rings at a time.
constexpr int RING_CACHE_SIZE = 16;
constexpr double RING_CACHE_MAX_POINTS = 1 << 16;  // longer rings are not kept

struct CachedRing {
    int radius = 0;  // 0: unused
    uint64_t start = 0, end = 0;  // the angles' bits
    std::vector<ArcPoint> points;
};

// The kept points of a ring, or null for a ring not worth keeping.
const std::vector<ArcPoint>* cached_ring(int r, double start, double end) {
    if (r <= 0 || !std::isfinite(start) || !std::isfinite(end)) return nullptr;
    if ((end - start) * r * 2.0 > RING_CACHE_MAX_POINTS) return nullptr;
    static CachedRing rings[RING_CACHE_SIZE];
    static int next = 0;
    // Compared bit for bit: the points are those of exactly these angles.
    uint64_t s, e;
    std::memcpy(&s, &start, sizeof s);
    std::memcpy(&e, &end, sizeof e);
    for (const CachedRing& ring : rings)
        if (ring.radius == r && ring.start == s && ring.end == e) return &ring.points;
    CachedRing& ring = rings[next];
    next = (next + 1) % RING_CACHE_SIZE;
    ring.radius = r;
    ring.start = s;
    ring.end = e;
    ring.points.clear();
    const double step = arc_step(r);
    for (double a = start; a <= end; a = a + step) ring.points.push_back(arc_point(r, a));
    return &ring.points;
}

}  // namespace

void draw_arc(int color, int radius, double start, double end, int cx, int cy, int thickness) {
    // An even thickness puts its extra ring outside the nominal radius.
    const int lowest = radius - thickness / 2 + (thickness % 2 == 0 ? 1 : 0);
    const int highest = radius + thickness / 2;
    for (int r = lowest; r <= highest; ++r) {
        // Points that land on the same pixel are plotted again: every point is its own
        // call.
        if (const std::vector<ArcPoint>* ring = cached_ring(r, start, end)) {
            for (const ArcPoint& p : *ring) ZORVE_draw_pixel(color, cx + p.dx, cy + p.dy);
            continue;
        }
        const double step = arc_step(r);
        for (double a = start; a <= end; a = a + step) {
            const ArcPoint p = arc_point(r, a);
            ZORVE_draw_pixel(color, cx + p.dx, cy + p.dy);
        }
    }
}
