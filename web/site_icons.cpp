// The web app's icons: the designer's heart, drawn by the runtime in a headless run when
// the site is built (no picture of it is kept in the sources), cut out and scaled down
// with the PNG codec. Built for Node by the web build (web/app.cmake), which runs it.
//
//   site_icons DIR SIZE...
//
// writes DIR/cordelune-NxN.png for each size N (16 to 512): a red heart on white,
// square, with a margin.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "codec/png_codec.h"
#include "zorve.h"

namespace {

constexpr uint32_t BACKGROUND = 0xFFFFFF;
constexpr int LARGEST = 512;  // the square around the heart has 526 pixels a side: no enlarging

// The designer's heart (designer/shapes.cpp) six times as large: two discs over a
// downward triangle, 421 x 391 pixels. The triangle's sides run on as tangents to the
// discs, so the outline has no notch where they meet.
void draw_heart() {
    const double r = 120, c = 90, tip = 270;  // disc radius, centres at (+-c, y), tip at (0, y - tip)
    const int y = 70;
    // From the tip B to the right disc's centre C: v = C - B; the tangent of length L
    // touches the disc at B + (L / |v|^2) (L v + r perp(v)), perp(v) = (v.y, -v.x).
    const double vx = c, vy = tip, v2 = vx * vx + vy * vy, l = std::sqrt(v2 - r * r);
    const int tx = static_cast<int>(std::lround(l / v2 * (l * vx + r * vy)));
    const int ty = y + static_cast<int>(std::lround(-tip + l / v2 * (l * vy - r * vx)));
    const int ci = static_cast<int>(c), ri = static_cast<int>(r), by = y - static_cast<int>(tip);
    ZORVE_draw_circle(ZORVE_RED, -ci, y, ri);
    ZORVE_draw_circle(ZORVE_RED, ci, y, ri);
    ZORVE_draw_triangle(ZORVE_RED, -tx, ty, tx, ty, 0, by, 0);
    // Between the discs, above the tangent points.
    ZORVE_draw_triangle(ZORVE_RED, -tx, ty, tx, ty, 0, y, 0);
}

struct Box {
    int left, top, right, bottom;  // right and bottom excluded
};

// The smallest box of every pixel that is not the background.
Box heart_box(const codec::Picture& p) {
    Box b{p.width, p.height, 0, 0};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.pixels[y * p.width + x] != BACKGROUND) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x + 1);
                b.bottom = std::max(b.bottom, y + 1);
            }
    return b;
}

// The square of `side` source pixels at (x0, y0) as n x n pixels, each the average of
// the source area it covers (partly covered source pixels by their share), so edges
// come out smooth rather than stepped. Outside the picture counts as background.
std::vector<uint32_t> scale_down(const codec::Picture& p, int x0, int y0, int side, int n) {
    const double step = static_cast<double>(side) / n;
    auto source = [&](int x, int y) {
        const bool inside = x >= 0 && y >= 0 && x < p.width && y < p.height;
        return inside ? p.pixels[y * p.width + x] : BACKGROUND;
    };
    std::vector<uint32_t> out(static_cast<size_t>(n) * n);
    for (int oy = 0; oy < n; ++oy)
        for (int ox = 0; ox < n; ++ox) {
            const double sx0 = ox * step, sx1 = sx0 + step, sy0 = oy * step, sy1 = sy0 + step;
            double sum[3] = {0, 0, 0}, area = 0;
            for (int sy = static_cast<int>(sy0); sy < sy1; ++sy)
                for (int sx = static_cast<int>(sx0); sx < sx1; ++sx) {
                    const double w = (std::min<double>(sx + 1, sx1) - std::max<double>(sx, sx0)) *
                                     (std::min<double>(sy + 1, sy1) - std::max<double>(sy, sy0));
                    const uint32_t c = source(x0 + sx, y0 + sy);
                    for (int k = 0; k < 3; ++k) sum[k] += w * ((c >> (16 - 8 * k)) & 0xFF);
                    area += w;
                }
            uint32_t c = 0;
            for (int k = 0; k < 3; ++k) c = c << 8 | static_cast<uint32_t>(sum[k] / area + 0.5);
            out[static_cast<size_t>(oy) * n + ox] = c;
        }
    return out;
}

int fail(const std::string& what) {
    std::fprintf(stderr, "site_icons: %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return fail("usage: site_icons DIR SIZE...");
    const std::string dir = argv[1];
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) {
        const int n = std::atoi(argv[i]);
        if (n < 16 || n > LARGEST) return fail(std::string("a size from 16 to 512, not ") + argv[i]);
        sizes.push_back(n);
    }

    ZORVE_start(nullptr, nullptr, "", 1);
    ZORVE_set_logging(0);
    // White all over: ZORVE_clear's frame would show in the icon's margin.
    ZORVE_draw_rect(ZORVE_WHITE, -297, 248, 297, -247, 0);
    draw_heart();
    const std::string drawn = dir + "/heart.png";
    const bool saved = ZORVE_save_picture(drawn.c_str());
    ZORVE_stop();
    codec::Picture picture;
    std::string why;
    if (!saved || !codec::png_read_file(drawn.c_str(), &picture, &why)) return fail("the drawn heart: " + why);
    std::remove(drawn.c_str());

    const Box b = heart_box(picture);
    if (b.right <= b.left) return fail("no heart was drawn");
    // A square around the heart, with an eighth of its width as a margin on each side.
    const int side = std::max(b.right - b.left, b.bottom - b.top) * 5 / 4;
    const int x0 = (b.left + b.right - side) / 2, y0 = (b.top + b.bottom - side) / 2;
    for (int n : sizes) {
        const std::string path = dir + "/cordelune-" + std::to_string(n) + "x" + std::to_string(n) + ".png";
        if (!codec::png_write_file(path.c_str(), scale_down(picture, x0, y0, side, n).data(), n, n, n, &why))
            return fail(path + ": " + why);
    }
    return 0;
}
