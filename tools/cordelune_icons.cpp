// cordelune-icons: the card designer's icon, a red heart, drawn by the runtime itself in
// a headless run and written in the sizes desktops ask for. The build runs it; no
// picture of the icon is kept in the sources.
//
//   cordelune-icons DIR
//
// writes DIR/share/icons/hicolor/NxN/apps/cordelune.png for N = 16 24 32 48 64 128 256
// (the layout an installed program's icons have under its prefix, so that the program
// built in DIR finds them beside it as the installed one finds them under /usr),
// DIR/cordelune.ico (the same icons for the Windows build's resources) and
// DIR/cordelune-heart.png (the canvas as drawn, to look at).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "codec/png_codec.h"
#include "icon_files.h"
#include "zorve.h"

namespace {

constexpr int SIZES[] = {16, 24, 32, 48, 64, 128, 256};
constexpr uint32_t WHITE = 0xFFFFFF;  // the cleared canvas: transparent in the icons

int round_to_int(double v) { return static_cast<int>(std::lround(v)); }

// The designer's heart, two discs over a downward triangle, at a size to scale down
// from; its sides run on as tangents to the discs, so the outline stays smooth.
void draw_heart() {
    const double r = 120, c = 90, tip = 270;  // disc radius, centres at (+-c, 0), tip at (0, -tip)
    const double lift = 75;                   // centres the heart's 391 rows on the canvas
    // The tangent from the tip B to the right disc touches it at B + (L / |v|^2)(L v - r
    // perp(v)), with v = C - B, perp(v) = (-v.y, v.x) and L the tangent's length.
    const double vx = c, vy = tip, v2 = vx * vx + vy * vy, l = std::sqrt(v2 - r * r);
    const int tx = round_to_int(l / v2 * (l * vx + r * vy));
    const int ty = round_to_int(-tip + l / v2 * (l * vy - r * vx) + lift);
    const int cy = round_to_int(lift), by = round_to_int(-tip + lift), ci = round_to_int(c);
    ZORVE_draw_circle(ZORVE_RED, -ci, cy, round_to_int(r));
    ZORVE_draw_circle(ZORVE_RED, ci, cy, round_to_int(r));
    ZORVE_draw_triangle(ZORVE_RED, -tx, ty, tx, ty, 0, by, 0);
    // Between the discs just above the tangent points: a sliver neither covers.
    ZORVE_draw_triangle(ZORVE_RED, -tx, ty, tx, ty, 0, cy, 0);
}

bool fail(const std::string& what) {
    std::fprintf(stderr, "cordelune-icons: %s\n", what.c_str());
    return false;
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const bool written = f && !bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = f && std::fclose(f) == 0;
    return (written && closed) || fail("cannot write " + path);
}

// The smallest box holding every pixel unlike the background, inside the 1-pixel
// frame that clearing draws.
bool ink_box(const codec::Picture& p, int* left, int* top, int* right, int* bottom) {
    *left = p.width, *top = p.height, *right = -1, *bottom = -1;
    for (int y = 1; y < p.height; ++y)
        for (int x = 1; x < p.width; ++x)
            if ((p.pixels[static_cast<size_t>(y * p.width + x)] & 0xFFFFFF) != WHITE) {
                if (x < *left) *left = x;
                if (x > *right) *right = x;
                if (y < *top) *top = y;
                if (y > *bottom) *bottom = y;
            }
    return *right >= 0;
}

bool write_icons(const std::filesystem::path& dir) {
    const std::string drawn = (dir / "cordelune-heart.png").string();
    ZORVE_start(nullptr, nullptr, "", 1);
    ZORVE_set_logging(0);
    ZORVE_clear();
    draw_heart();
    const bool saved = ZORVE_save_picture(drawn.c_str());
    ZORVE_stop();
    if (!saved) return fail("the runtime could not save " + drawn);

    codec::Picture picture;
    std::string why;
    if (!codec::png_read_file(drawn.c_str(), &picture, &why)) return fail(drawn + ": " + why);
    int left, top, right, bottom;
    if (!ink_box(picture, &left, &top, &right, &bottom)) return fail("nothing was drawn");
    // A square a little larger than the heart, so that it does not touch the edges.
    const int side = (std::max(right - left, bottom - top) + 1) * 112 / 100;
    const int square_left = (left + right + 1 - side) / 2, square_top = (top + bottom + 1 - side) / 2;
    if (square_left < 1 || square_top < 1 || square_left + side > picture.width ||
        square_top + side > picture.height)
        return fail("the heart does not fit the canvas with a margin");

    std::vector<icons::Icon> all;
    std::vector<uint8_t> png_256;
    for (int size : SIZES) {
        icons::Icon icon = icons::scale_square(picture, square_left, square_top, side, WHITE, size);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path folder = dir / "share/icons/hicolor" / name / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) return fail(folder.string() + ": " + error.message());
        const std::vector<uint8_t> png = codec::png_encode_rgba(icon.pixels.data(), size, size, size);
        if (!write_file((folder / "cordelune.png").string(), png)) return false;
        if (size == 256) png_256 = png;
        all.push_back(std::move(icon));
    }
    return write_file((dir / "cordelune.ico").string(), icons::ico_bytes(all, png_256));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cordelune-icons DIR\n");
        return 2;
    }
    return write_icons(argv[1]) ? 0 : 1;
}
