// The GDI rasterizer's edges: hostile arguments finish and never reach past the
// surface, clipping cuts figures without moving them, and LineTo keeps the current
// position. (How figures look is checked against Wine in gdi_conformance_test.)
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

namespace {

constexpr uint32_t FRAME = 0x00C0FFEE;  // stays in the frame around a surface
constexpr COLORREF PEN = RGB(255, 0, 0);
constexpr COLORREF BRUSH = RGB(0, 0, 255);

// A surface that is a window into a larger canvas, so that anything drawn past the
// surface's edges lands in a frame that can be checked.
class FramedSurface {
public:
    static constexpr int BORDER = 16;

    FramedSurface(int width, int height)
        : stride_(width + 2 * BORDER),
          canvas_(static_cast<size_t>(stride_) * (height + 2 * BORDER), FRAME) {
        surface_.width = width;
        surface_.height = height;
        surface_.stride = stride_;
        surface_.pixels = canvas_.data() + static_cast<size_t>(BORDER) * stride_ + BORDER;
        for (int y = 0; y < height; ++y) std::fill(surface_.row(y), surface_.row(y) + width, 0u);
        dc_ = zp::create_surface_dc(&surface_);
    }
    ~FramedSurface() { DeleteDC(dc_); }

    HDC dc() const { return dc_; }
    zp::Surface& surface() { return surface_; }
    uint32_t at(int x, int y) const { return surface_.row(y)[x]; }
    int width() const { return surface_.width; }
    int height() const { return surface_.height; }

    bool frame_untouched() const {
        for (int y = 0; y < surface_.height + 2 * BORDER; ++y)
            for (int x = 0; x < stride_; ++x) {
                const bool inside = y >= BORDER && y < BORDER + surface_.height &&
                                    x >= BORDER && x < BORDER + surface_.width;
                if (!inside && canvas_[static_cast<size_t>(y) * stride_ + x] != FRAME)
                    return false;
            }
        return true;
    }
    int count(uint32_t pixel) const {
        int n = 0;
        for (int y = 0; y < surface_.height; ++y)
            for (int x = 0; x < surface_.width; ++x) n += at(x, y) == pixel;
        return n;
    }
    void clear() {
        for (int y = 0; y < surface_.height; ++y)
            std::fill(surface_.row(y), surface_.row(y) + surface_.width, 0u);
    }

private:
    int stride_;
    std::vector<uint32_t> canvas_;
    zp::Surface surface_;
    HDC dc_;
};

// Selects a pen (style and width) and a solid or null brush for one scope.
class Tools {
public:
    Tools(HDC dc, int style, int width, bool brush) : dc_(dc) {
        pen_ = CreatePen(style, width, PEN);
        brush_ = brush ? CreateSolidBrush(BRUSH) : nullptr;
        old_pen_ = SelectObject(dc, pen_);
        old_brush_ = SelectObject(dc, brush_ ? static_cast<HGDIOBJ>(brush_)
                                             : GetStockObject(NULL_BRUSH));
    }
    ~Tools() {
        SelectObject(dc_, old_pen_);
        SelectObject(dc_, old_brush_);
        DeleteObject(pen_);
        if (brush_) DeleteObject(brush_);
    }

private:
    HDC dc_;
    HPEN pen_;
    HBRUSH brush_;
    HGDIOBJ old_pen_, old_brush_;
};

const uint32_t PEN_PIXEL = zp::pixel_from_colorref(PEN);
const uint32_t BRUSH_PIXEL = zp::pixel_from_colorref(BRUSH);

struct Call {
    char shape;  // 'R', 'E', 'P' (triangle), 'L' (MoveToEx + LineTo)
    int v[6];
};

void draw(HDC dc, const Call& c) {
    switch (c.shape) {
        case 'R': Rectangle(dc, c.v[0], c.v[1], c.v[2], c.v[3]); break;
        case 'E': Ellipse(dc, c.v[0], c.v[1], c.v[2], c.v[3]); break;
        case 'P': {
            const POINT pts[3] = {{c.v[0], c.v[1]}, {c.v[2], c.v[3]}, {c.v[4], c.v[5]}};
            Polygon(dc, pts, 3);
            break;
        }
        case 'L':
            MoveToEx(dc, c.v[0], c.v[1], nullptr);
            LineTo(dc, c.v[2], c.v[3]);
            break;
    }
}

TEST(Raster, HostileArgumentsFinishAndStayInsideTheSurface) {
    const Call calls[] = {
        {'R', {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
        {'R', {INT_MAX, INT_MAX, INT_MIN, INT_MIN}},
        {'R', {INT_MIN, 10, INT_MIN + 1, 20}},
        {'R', {INT_MAX - 1, 10, INT_MAX, 20}},
        {'E', {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
        {'E', {INT_MAX, 5, INT_MIN, 30}},
        {'E', {-50000, -50000, 50000, 40}},
        {'E', {-30000, -20, 30000, 20000}},
        {'P', {INT_MIN, INT_MIN, INT_MAX, 0, 0, INT_MAX}},
        {'P', {INT_MAX, INT_MAX, INT_MAX, INT_MIN, INT_MIN, 17}},
        {'P', {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN}},
        {'L', {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
        {'L', {INT_MAX, INT_MIN, INT_MIN, INT_MAX}},
        {'L', {INT_MIN, 20, INT_MAX, 21}},
        {'L', {-1, INT_MAX, 30, INT_MIN}},
        {'L', {INT_MAX, INT_MAX, INT_MAX, INT_MAX}},
    };
    const int widths[] = {0, 1, 5, 1000, 100000, INT_MAX};
    FramedSurface s(61, 47);
    for (const Call& c : calls) {
        for (int width : widths) {
            for (bool brush : {false, true}) {
                Tools tools(s.dc(), PS_SOLID, width, brush);
                draw(s.dc(), c);
                ASSERT_TRUE(s.frame_untouched())
                    << c.shape << " " << c.v[0] << "," << c.v[1] << " width " << width;
            }
        }
    }
}

TEST(Raster, TheWidestLinesCoverTheWholeSurface) {
    const Call lines[] = {{'L', {INT_MIN, 20, INT_MAX, 30}},
                          {'L', {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
                          {'L', {30, INT_MAX, 30, INT_MIN}},
                          {'L', {40, 10, 40, 10}}};
    FramedSurface s(61, 47);
    for (const Call& c : lines) {
        s.clear();
        Tools tools(s.dc(), PS_SOLID, INT_MAX, false);
        draw(s.dc(), c);
        EXPECT_EQ(s.count(PEN_PIXEL), s.width() * s.height()) << c.v[0] << "," << c.v[1];
        EXPECT_TRUE(s.frame_untouched());
    }
    // Half the widest pen is short of a line running along INT_MIN.
    s.clear();
    Tools tools(s.dc(), PS_SOLID, INT_MAX, false);
    draw(s.dc(), {'L', {INT_MIN, INT_MIN, INT_MAX, INT_MIN}});
    EXPECT_EQ(s.count(PEN_PIXEL), 0);
}

TEST(Raster, HugeFiguresAroundTheSurfaceFillItWithoutAnOutline) {
    FramedSurface s(61, 47);
    for (int width : {0, 3, 5000}) {
        for (char shape : {'R', 'E', 'P'}) {
            s.clear();
            Tools tools(s.dc(), PS_SOLID, width, true);
            const Call c =
                shape == 'P' ? Call{'P', {-2000000000, -100000, 2000000000, -100000, 0, 2000000000}}
                             : Call{shape, {-1000000, -900000, 1000000, 1100000}};
            draw(s.dc(), c);
            EXPECT_EQ(s.count(BRUSH_PIXEL), s.width() * s.height()) << shape << " " << width;
        }
    }
}

TEST(Raster, AHugeEllipseWhoseOutlineCrossesTheSurfaceDrawsIt) {
    // The ellipse's left end lies on the surface: the outline runs top to bottom.
    FramedSurface s(61, 47);
    for (int width : {0, 7}) {
        s.clear();
        Tools tools(s.dc(), PS_SOLID, width, true);
        Ellipse(s.dc(), 30, -3000000, 4000000, 3000000);
        for (int y = 0; y < s.height(); ++y) {
            EXPECT_EQ(s.at(0, y), 0u) << y;
            EXPECT_EQ(s.at(30, y), PEN_PIXEL) << y;
            EXPECT_EQ(s.at(s.width() - 1, y), BRUSH_PIXEL) << y;
        }
        EXPECT_TRUE(s.frame_untouched());
    }
}

TEST(Raster, APolygonOfManyPointsFinishesInsideTheSurface) {
    std::vector<POINT> star;
    for (int i = 0; i < 20000; ++i)
        star.push_back(i % 2 ? POINT{INT_MAX - i, i} : POINT{INT_MIN + i, 30 - i % 61});
    FramedSurface s(61, 47);
    for (int width : {0, 4}) {
        Tools tools(s.dc(), PS_SOLID, width, true);
        EXPECT_TRUE(Polygon(s.dc(), star.data(), static_cast<int>(star.size())));
        EXPECT_TRUE(s.frame_untouched());
    }
}

// A wide outline is the union of its segments with their round ends: a closed polygon
// of many corners, whose outline is collected row by row (or, once a row breaks into
// too many runs, in a mask), has exactly the pixels of its segments drawn one by one.
TEST(Raster, AWideOutlineOfManyCornersIsTheUnionOfItsSegments) {
    for (int teeth : {6, 40}) {
        std::vector<POINT> comb;
        for (int i = 0; i < teeth; ++i) {
            const int x = 8 + 12 * i;
            comb.insert(comb.end(), {{x, 60}, {x + 3, 12 + (i * 7) % 9}, {x + 7, 60}});
        }
        comb.push_back({8 + 12 * teeth, 70});
        comb.push_back({8, 70});
        const int width = 16 + 12 * teeth;
        FramedSurface whole(width, 80), pieces(width, 80);
        for (int pen : {2, 5}) {
            whole.clear();
            pieces.clear();
            {
                Tools tools(whole.dc(), PS_SOLID, pen, false);
                EXPECT_TRUE(Polygon(whole.dc(), comb.data(), static_cast<int>(comb.size())));
            }
            Tools tools(pieces.dc(), PS_SOLID, pen, false);
            MoveToEx(pieces.dc(), comb.back().x, comb.back().y, nullptr);
            for (const POINT& p : comb) LineTo(pieces.dc(), p.x, p.y);
            int differ = 0;
            for (int y = 0; y < whole.height(); ++y)
                for (int x = 0; x < whole.width(); ++x) differ += whole.at(x, y) != pieces.at(x, y);
            EXPECT_EQ(differ, 0) << teeth << " teeth, pen " << pen;
            EXPECT_GT(whole.count(PEN_PIXEL), 20 * teeth);
            EXPECT_TRUE(whole.frame_untouched());
        }
    }
}

// What a drawing changes is what the window layer shows: every pixel a primitive
// changes must lie inside the damage it marks.
TEST(Raster, EveryChangedPixelLiesInsideTheMarkedDamage) {
    const Call calls[] = {
        {'R', {5, 4, 40, 30}},   {'R', {-9, -7, 20, 15}},  {'R', {0, 0, 61, 47}},
        {'E', {3, 3, 8, 8}},     {'E', {10, 5, 55, 40}},   {'E', {35, 20, 75, 58}},
        {'P', {2, 40, 30, 3, 58, 44}}, {'P', {-20, 10, 25, -15, 70, 55}},
        {'L', {3, 3, 50, 40}},   {'L', {55, 2, 4, 30}},    {'L', {-20, 30, 70, -12}},
        {'L', {10, 20, 40, 20}}, {'L', {30, 45, 30, 2}},
    };
    FramedSurface s(61, 47);
    auto check = [&s](const char* what) {
        const RECT d = s.surface().take_damage();
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) {
                if (s.at(x, y) == 0) continue;
                ASSERT_TRUE(x >= d.left && x < d.right && y >= d.top && y < d.bottom)
                    << what << ": (" << x << "," << y << ") outside " << d.left << ","
                    << d.top << " - " << d.right << "," << d.bottom;
            }
    };
    for (const Call& c : calls) {
        for (int width : {0, 1, 3, 6}) {
            for (bool brush : {false, true}) {
                s.clear();
                s.surface().take_damage();
                Tools tools(s.dc(), PS_SOLID, width, brush);
                draw(s.dc(), c);
                check((std::string(1, c.shape) + " width " + std::to_string(width)).c_str());
            }
        }
    }
    s.clear();
    s.surface().take_damage();
    SetPixel(s.dc(), 17, 9, PEN);
    SetPixel(s.dc(), 60, 46, PEN);
    check("SetPixel");
    HFONT font = CreateFontA(-20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                             "Arial");
    const HGDIOBJ old_font = SelectObject(s.dc(), font);
    SetTextColor(s.dc(), PEN);
    for (int mode : {TRANSPARENT, OPAQUE}) {
        s.clear();
        s.surface().take_damage();
        SetBkMode(s.dc(), mode);
        TextOutA(s.dc(), -3, 30, "Wg|ji", 5);
        check(mode == OPAQUE ? "opaque text" : "text");
    }
    SelectObject(s.dc(), old_font);
    DeleteObject(font);
}

// A figure cut by the surface's edge has the pixels that the same figure has inside
// a surface large enough to hold it whole.
TEST(Raster, ClippingCutsFiguresWithoutMovingThem) {
    const Call calls[] = {
        {'R', {-9, -7, 20, 15}}, {'R', {40, 30, 70, 60}},    {'E', {-15, -11, 25, 19}},
        {'E', {35, 20, 75, 58}}, {'P', {-20, 10, 25, -15, 70, 55}},
        {'L', {-20, 30, 70, -12}}, {'L', {55, -30, 20, 70}}, {'L', {-5, 44, 80, 46}},
    };
    constexpr int SHIFT = 40;  // the big surface's origin, in the small one's terms
    for (const Call& c : calls) {
        for (int width : {-1, 0, 1, 2, 5, 8}) {
            for (bool brush : {false, true}) {
                if (width < 0 && !brush) continue;
                FramedSurface small(61, 47), big(61 + 2 * SHIFT, 47 + 2 * SHIFT);
                Call moved = c;
                for (int& v : moved.v) v += SHIFT;
                {
                    Tools a(small.dc(), width < 0 ? PS_NULL : PS_SOLID, width, brush);
                    draw(small.dc(), c);
                }
                {
                    Tools b(big.dc(), width < 0 ? PS_NULL : PS_SOLID, width, brush);
                    draw(big.dc(), moved);
                }
                int differ = 0;
                for (int y = 0; y < small.height(); ++y)
                    for (int x = 0; x < small.width(); ++x)
                        differ += small.at(x, y) != big.at(x + SHIFT, y + SHIFT);
                EXPECT_EQ(differ, 0) << c.shape << " width " << width << " brush " << brush;
                EXPECT_TRUE(small.frame_untouched());
            }
        }
    }
}

TEST(Raster, LineToMovesTheCurrentPositionEvenWithoutAPen) {
    FramedSurface s(30, 20);
    POINT previous = {-1, -1};
    EXPECT_TRUE(MoveToEx(s.dc(), 2, 3, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(previous.y, 0);
    {
        Tools tools(s.dc(), PS_SOLID, 1, false);
        EXPECT_TRUE(LineTo(s.dc(), 12, 3));
    }
    EXPECT_EQ(s.at(2, 3), PEN_PIXEL);
    EXPECT_EQ(s.at(11, 3), PEN_PIXEL);
    EXPECT_EQ(s.at(12, 3), 0u);  // the end point is left out...
    {
        Tools tools(s.dc(), PS_SOLID, 1, false);
        EXPECT_TRUE(LineTo(s.dc(), 12, 9));
    }
    EXPECT_EQ(s.at(12, 3), PEN_PIXEL);  // ...and starts the next line
    {
        Tools tools(s.dc(), PS_NULL, 0, false);
        EXPECT_TRUE(LineTo(s.dc(), 20, 15));
    }
    EXPECT_EQ(s.at(12, 9), 0u);
    EXPECT_TRUE(MoveToEx(s.dc(), INT_MIN, INT_MAX, &previous));
    EXPECT_EQ(previous.x, 20);
    EXPECT_EQ(previous.y, 15);
    EXPECT_TRUE(MoveToEx(s.dc(), 0, 0, &previous));
    EXPECT_EQ(previous.x, INT_MIN);
    EXPECT_EQ(previous.y, INT_MAX);
}

TEST(Raster, BadHandlesAndTooFewPointsAreRefused) {
    const POINT pts[3] = {{1, 1}, {10, 1}, {5, 8}};
    EXPECT_FALSE(Rectangle(nullptr, 0, 0, 5, 5));
    EXPECT_FALSE(Ellipse(nullptr, 0, 0, 5, 5));
    EXPECT_FALSE(Polygon(nullptr, pts, 3));
    EXPECT_FALSE(MoveToEx(nullptr, 0, 0, nullptr));
    EXPECT_FALSE(LineTo(nullptr, 1, 1));
    FramedSurface s(12, 10);
    Tools tools(s.dc(), PS_SOLID, 3, true);
    EXPECT_FALSE(Polygon(s.dc(), pts, 1));
    EXPECT_FALSE(Polygon(s.dc(), nullptr, 3));
    EXPECT_FALSE(Polygon(s.dc(), pts, -4));
    EXPECT_EQ(s.count(0), 12 * 10);
}

// A DC whose surface is gone (a destroyed window's) draws nothing and does not fail.
TEST(Raster, AnEmptySurfaceTakesEveryPrimitive) {
    zp::Surface nowhere;
    HDC dc = zp::create_surface_dc(&nowhere);
    for (int width : {0, 6}) {
        Tools tools(dc, PS_SOLID, width, true);
        const POINT pts[3] = {{1, 1}, {10, 1}, {5, 8}};
        EXPECT_TRUE(Rectangle(dc, 0, 0, 5, 5));
        EXPECT_TRUE(Ellipse(dc, 0, 0, 5, 5));
        EXPECT_TRUE(Polygon(dc, pts, 3));
        EXPECT_TRUE(LineTo(dc, 4, 4));
    }
    DeleteDC(dc);
}

}  // namespace
