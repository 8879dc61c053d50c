// Records how Wine's GDI draws the conformance cases, as the footprint table that
// tests/portable/gdi_conformance_test.cpp compares our rasterizer with.
//
// Re-record (from the repository root):
//   x86_64-w64-mingw32-g++ -std=c++20 -O2 -static -I. -Itests
//       tests/tools/record_footprints.cpp -o /tmp/record_footprints.exe -lgdi32
//   xvfb-run -a wine /tmp/record_footprints.exe > tests/data/gdi_footprints.inc
// With "--random N SEED [far|big]" it records N random cases instead, for wider checks by
// hand: include that file in place of gdi_footprints.inc in a scratch comparison.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "data/gdi_footprints_draw.h"

namespace {

struct Recorded {
    std::string name;
    FootprintCase c;
};

std::vector<Recorded> cases;

void add(const std::string& name, char shape, int pen, int brush, int w, int h,
         std::initializer_list<int> pts) {
    Recorded r{name, {}};
    r.c.shape = shape;
    r.c.pen = pen;
    r.c.brush = brush;
    r.c.width = w;
    r.c.height = h;
    r.c.count = static_cast<int>(pts.size() / 2);
    int i = 0;
    for (int v : pts) r.c.pts[i++] = v;
    cases.push_back(r);
}

std::string pen_name(int pen) { return pen < 0 ? "null" : "w" + std::to_string(pen); }

// Every primitive with a null pen and with pen widths 0..7, filled and hollow.
void figures() {
    struct Figure {
        const char* name;
        char shape;
        std::initializer_list<int> pts;
    };
    const Figure figures[] = {
        {"rect", 'R', {6, 6, 17, 15}},
        {"rect_tall", 'R', {8, 4, 14, 18}},
        {"ellipse", 'E', {6, 6, 17, 15}},
        {"ellipse_tall", 'E', {7, 4, 14, 18}},
        {"ellipse_even", 'E', {6, 5, 18, 17}},
        {"triangle", 'P', {6, 5, 18, 10, 9, 17}},
        {"triangle_flat", 'P', {5, 16, 12, 5, 19, 16}},
        {"triangle_cw", 'P', {9, 17, 18, 10, 6, 5}},
    };
    for (const Figure& f : figures) {
        add(std::string(f.name) + "_fill_null", f.shape, -1, 1, 24, 22, f.pts);
        for (int pen = 0; pen <= 7; ++pen) {
            add(std::string(f.name) + "_fill_" + pen_name(pen), f.shape, pen, 1, 24, 22, f.pts);
            add(std::string(f.name) + "_hollow_" + pen_name(pen), f.shape, pen, 0, 24, 22, f.pts);
        }
    }
}

void lines() {
    struct Line {
        const char* name;
        std::initializer_list<int> pts;
    };
    const Line lines[] = {
        {"shallow", {4, 6, 19, 10}},   {"steep", {6, 3, 11, 18}},
        {"diagonal", {4, 4, 17, 17}},  {"anti_diagonal", {17, 4, 4, 17}},
        {"back_shallow", {19, 14, 4, 9}}, {"up_steep", {15, 18, 9, 3}},
        {"horizontal", {4, 10, 19, 10}}, {"back_horizontal", {19, 11, 4, 11}},
        {"vertical", {11, 3, 11, 18}}, {"up_vertical", {12, 18, 12, 3}},
        {"dot", {11, 10, 11, 10}},
    };
    for (const Line& l : lines)
        for (int pen = 0; pen <= 7; ++pen)
            add(std::string("line_") + l.name + "_" + pen_name(pen), 'L', pen, 0, 24, 22, l.pts);
    for (int pen : {0, 1, 4})
        add("line_chain_" + pen_name(pen), 'L', pen, 0, 24, 22, {4, 16, 10, 4, 19, 15, 6, 18});
    add("line_null", 'L', -1, 0, 24, 22, {4, 6, 19, 10});
    add("line_wide_15", 'L', 15, 0, 24, 22, {2, 3, 20, 17});
    add("line_wide_30", 'L', 30, 0, 24, 22, {10, 18, 14, 4});
}

void tiny() {
    const int sizes[][2] = {{1, 1}, {2, 2}, {3, 3}, {2, 5}, {5, 2}, {4, 4}, {5, 5},
                            {3, 4}, {4, 3}, {6, 6}, {7, 5}, {3, 8}};
    for (const auto& s : sizes) {
        const std::string size = std::to_string(s[0]) + "x" + std::to_string(s[1]);
        std::initializer_list<int> box = {5, 5, 5 + s[0], 5 + s[1]};
        // GDI leaves the end rows of the fill of a very narrow, tall ellipse unset (Wine
        // paints whatever its memory held there), so that one is recorded hollow only.
        if (s[0] > 3 || s[1] < 8) {
            add("tiny_ellipse_" + size + "_fill_w0", 'E', 0, 1, 16, 18, box);
            add("tiny_ellipse_" + size + "_fill_null", 'E', -1, 1, 16, 18, box);
        }
        add("tiny_ellipse_" + size + "_hollow_w1", 'E', 1, 0, 16, 18, box);
        add("tiny_ellipse_" + size + "_hollow_w3", 'E', 3, 0, 16, 18, box);
        if (s[0] <= 2 || s[1] <= 2) {
            add("tiny_rect_" + size + "_fill_w0", 'R', 0, 1, 16, 18, box);
            add("tiny_rect_" + size + "_fill_null", 'R', -1, 1, 16, 18, box);
            add("tiny_rect_" + size + "_hollow_w2", 'R', 2, 0, 16, 18, box);
            add("tiny_rect_" + size + "_fill_w3", 'R', 3, 1, 16, 18, box);
        }
    }
}

void reversed_and_empty() {
    struct Box {
        const char* name;
        std::initializer_list<int> pts;
    };
    const Box boxes[] = {
        {"reversed_both", {17, 15, 6, 6}}, {"reversed_x", {17, 6, 6, 15}},
        {"reversed_y", {6, 15, 17, 6}},    {"empty_width", {9, 6, 9, 15}},
        {"empty_height", {6, 9, 17, 9}},   {"empty_point", {9, 9, 9, 9}},
        {"one_column", {9, 6, 10, 15}},    {"one_row", {6, 9, 17, 10}},
        {"one_column_reversed", {10, 15, 9, 6}},
    };
    for (const Box& b : boxes) {
        for (char shape : {'R', 'E'}) {
            const std::string base = std::string(shape == 'R' ? "rect_" : "ellipse_") + b.name;
            add(base + "_fill_w0", shape, 0, 1, 24, 22, b.pts);
            add(base + "_fill_null", shape, -1, 1, 24, 22, b.pts);
            add(base + "_hollow_w3", shape, 3, 0, 24, 22, b.pts);
            add(base + "_fill_w4", shape, 4, 1, 24, 22, b.pts);
        }
    }
}

void polygons() {
    const std::initializer_list<int> star = {12, 1, 19, 20, 3, 8, 21, 8, 5, 20};
    for (int pen : {-1, 0, 2, 3})
        add("star_fill_" + pen_name(pen), 'P', pen, 1, 24, 22, star);
    add("star_hollow_w1", 'P', 1, 0, 24, 22, star);
    add("polygon_two_points_w0", 'P', 0, 1, 24, 22, {4, 5, 18, 15});
    add("polygon_two_points_w3", 'P', 3, 1, 24, 22, {4, 5, 18, 15});
    add("polygon_repeated_point_w0", 'P', 0, 1, 24, 22, {6, 5, 6, 5, 18, 10, 9, 17});
    add("polygon_repeated_point_w4", 'P', 4, 1, 24, 22, {6, 5, 6, 5, 18, 10, 9, 17});
    add("polygon_all_same_w3", 'P', 3, 1, 24, 22, {10, 10, 10, 10, 10, 10});
    add("polygon_thin_w0", 'P', 0, 1, 24, 22, {3, 4, 20, 6, 4, 5});
    add("polygon_thin_null", 'P', -1, 1, 24, 22, {3, 4, 20, 6, 4, 5});
    add("polygon_steep_null", 'P', -1, 1, 24, 22, {10, 1, 13, 20, 11, 2});
}

// Figures that cross the bitmap's edges, and figures far larger than it.
void clipped() {
    for (int pen : {0, 5}) {
        for (int brush : {0, 1}) {
            const std::string tail = (brush ? "_fill_" : "_hollow_") + pen_name(pen);
            add("clip_rect_top_left" + tail, 'R', pen, brush, 24, 22, {-5, -4, 10, 9});
            add("clip_rect_bottom_right" + tail, 'R', pen, brush, 24, 22, {14, 12, 30, 28});
            add("clip_ellipse_top_left" + tail, 'E', pen, brush, 24, 22, {-7, -6, 12, 11});
            add("clip_ellipse_bottom_right" + tail, 'E', pen, brush, 24, 22, {13, 11, 31, 29});
            add("clip_triangle" + tail, 'P', pen, brush, 24, 22, {-6, 10, 12, -8, 30, 25});
            add("clip_line" + tail, 'L', pen, brush, 24, 22, {-5, 20, 30, -3});
        }
    }
    for (int pen : {0, 1, 6}) {
        add("far_line_" + pen_name(pen), 'L', pen, 0, 24, 22, {-100000, -3000, 100000, 9000});
        add("far_steep_line_" + pen_name(pen), 'L', pen, 0, 24, 22, {5, -70000, 17, 70000});
        add("far_ellipse_" + pen_name(pen), 'E', pen, 0, 24, 22, {-1000, -1000, 1022, 1019});
        add("far_rect_" + pen_name(pen), 'R', pen, 0, 24, 22, {-100000, 4, 100000, 100000});
        add("far_triangle_" + pen_name(pen), 'P', pen, 1, 24, 22,
            {-300000, -200000, 200000, 10, -5000, 400000});
    }
    // Thin slanted lines from beyond 2^28: GDI scales such far ends down by 8 first.
    for (int pen : {0, 1}) {
        add("far_scaled_line_" + pen_name(pen), 'L', pen, 0, 24, 22,
            {-800000000, -799999980, 800000000, 800000020});
        add("far_scaled_end_" + pen_name(pen), 'L', pen, 0, 24, 22, {2, 20, 900000000, -300000000});
    }
    add("big_ellipse_w12", 'E', 12, 0, 24, 22, {-10, -8, 30, 26});
    add("big_rect_w10", 'R', 10, 1, 24, 22, {3, 3, 21, 19});
}

// Filled figures as the runtime draws them: a thin pen and a brush of one colour.
void one_colour() {
    const int sizes[][2] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {1, 4}, {3, 3}, {4, 5}, {11, 9}};
    for (const auto& s : sizes) {
        const std::string size = std::to_string(s[0]) + "x" + std::to_string(s[1]);
        for (char shape : {'R', 'E'})
            add(std::string(shape == 'R' ? "rect" : "ellipse") + "_one_colour_" + size, shape, 0,
                2, 16, 14, {3, 3, 3 + s[0], 3 + s[1]});
    }
    add("triangle_one_colour", 'P', 0, 2, 16, 14, {2, 2, 13, 6, 5, 11});
    add("triangle_one_colour_point", 'P', 0, 2, 16, 14, {7, 7, 7, 7, 7, 7});
    add("triangle_one_colour_line", 'P', 0, 2, 16, 14, {2, 3, 12, 8, 7, 5});
}

void fixed_cases() {
    one_colour();
    figures();
    lines();
    tiny();
    reversed_and_empty();
    polygons();
    clipped();
}

// Random cases near a small bitmap; "far": figures reaching far beyond it; "big": a
// larger bitmap and wider pens.
void random_cases(int n, unsigned seed, const std::string& mode) {
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const bool distant = mode == "far", big = mode == "big";
    const int w = big ? 128 : 40, h = big ? 96 : 36;
    for (int i = 0; i < n; ++i) {
        const char shape = "REPL"[pick(0, 3)];
        int pen = pick(-1, 9);
        if (pick(0, 9) == 0 || (big && pick(0, 1) == 0))
            pen = pick(10, big ? 150 : distant ? 60 : 25);
        if (shape == 'L' && pen < 0) pen = 1;
        const int brush = shape == 'L' ? 0 : pick(0, 1);
        const int count = shape == 'P' ? pick(3, 6) : shape == 'L' ? pick(2, 3) : 2;
        Recorded r{"random_" + std::to_string(i), {}};
        r.c = {nullptr, shape, pen, brush, w, h, count, {}, nullptr};
        // Far out: up to a million pixels away (ellipses stay within the range where
        // GDI's arithmetic holds), and thin lines out to where GDI scales far ends down.
        int reach = shape == 'E' ? 20000 : 1000000;
        if (shape == 'L' && pen <= 1 && pick(0, 2) == 0) reach = 1 << 30;
        const int extra = pick(0, 3) == 0 ? 30 : 0;
        for (int k = 0; k < 2 * count; ++k) {
            if (distant && pick(0, 1) == 0) r.c.pts[k] = pick(-reach, reach);
            else r.c.pts[k] = big ? pick(-40, 170) : pick(-8, 30 + extra);
        }
        cases.push_back(r);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--random") == 0)
        random_cases(std::atoi(argv[2]), static_cast<unsigned>(std::atoi(argv[3])),
                     argc > 4 ? argv[4] : "");
    else
        fixed_cases();
    std::printf("// Recorded from Wine's GDI by tests/tools/record_footprints.cpp; do not edit.\n");
    for (const Recorded& r : cases) {
        const FootprintCase& c = r.c;
        std::printf("{\"%s\", '%c', %d, %d, %d, %d, %d, {", r.name.c_str(), c.shape, c.pen,
                    c.brush, c.width, c.height, c.count);
        for (int k = 0; k < 2 * c.count; ++k) std::printf(k ? ", %d" : "%d", c.pts[k]);
        std::printf("},\n");
        const std::string pixels = draw_footprint(c);
        size_t start = 0;
        while (start < pixels.size()) {
            size_t end = pixels.find('\n', start);
            std::printf(" \"%s\\n\"\n", pixels.substr(start, end - start).c_str());
            start = end + 1;
        }
        std::printf("},\n");
    }
    return 0;
}
