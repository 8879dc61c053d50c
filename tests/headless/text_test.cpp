// Text on the platform's GDI: metrics, extents, where TextOutA puts ink, background
// modes, colours, clipping, and fonts that cannot be found.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/gdi/counts.h"
#include "platform/gdi/text.h"
#include "platform/win32.h"

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);

// A memory DC on a bitmap of its own, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = WHITE) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        previous_ = SelectObject(dc_, bitmap_);
        clear(fill);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void clear(COLORREF c) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) SetPixel(dc_, x, y, c);
    }
    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// A font selected into a DC for the life of the object.
class UseFont {
public:
    UseFont(HDC dc, int height, const char* face = "sans-serif", int weight = FW_NORMAL,
            bool italic = false, DWORD pitch = DEFAULT_PITCH)
        : dc_(dc) {
        font_ = CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, ANSI_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, face);
        previous_ = SelectObject(dc, font_);
    }
    ~UseFont() {
        SelectObject(dc_, previous_);
        DeleteObject(font_);
    }
    UseFont(const UseFont&) = delete;
    UseFont& operator=(const UseFont&) = delete;

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ previous_;
};

TEXTMETRICA metrics(HDC dc) {
    TEXTMETRICA tm = {};
    EXPECT_TRUE(GetTextMetricsA(dc, &tm));
    return tm;
}

SIZE extent(HDC dc, const std::string& text) {
    SIZE s = {-1, -1};
    EXPECT_TRUE(GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &s));
    return s;
}

struct Ink {
    int count = 0;
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // inclusive
};

// Pixels that differ from the background.
Ink ink(const Canvas& c, COLORREF background) {
    Ink k;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.at(x, y) != background) {
                ++k.count;
                k.left = std::min(k.left, x);
                k.right = std::max(k.right, x);
                k.top = std::min(k.top, y);
                k.bottom = std::max(k.bottom, y);
            }
    return k;
}

Ink draw_and_find_ink(int height, const std::string& text, int x, int y,
                      const char* face = "sans-serif") {
    Canvas c(300, 120);
    UseFont f(c.dc(), height, face);
    SetBkMode(c.dc(), TRANSPARENT);
    EXPECT_TRUE(TextOutA(c.dc(), x, y, text.data(), static_cast<int>(text.size())));
    return ink(c, WHITE);
}

// ---- metrics --------------------------------------------------------------------------

TEST(TextMetrics, HeightSignSelectsEmOrCellHeight) {
    Canvas c(8, 8);
    for (int h : {6, 11, 20, 33, 72}) {
        SCOPED_TRACE(h);
        {
            UseFont f(c.dc(), -h);
            TEXTMETRICA tm = metrics(c.dc());
            EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, h) << "em height";
            EXPECT_GE(tm.tmInternalLeading, 0);
            EXPECT_LT(tm.tmHeight, 2 * h);
        }
        {
            UseFont f(c.dc(), h);
            TEXTMETRICA tm = metrics(c.dc());
            EXPECT_EQ(tm.tmHeight, h) << "cell height";
            EXPECT_EQ(tm.tmAscent + tm.tmDescent, h);
            EXPECT_GT(tm.tmHeight - tm.tmInternalLeading, h / 2) << "em height";
            EXPECT_LE(tm.tmHeight - tm.tmInternalLeading, h);
        }
    }
}

TEST(TextMetrics, PitchBitIsSetForVariablePitchFaces) {
    Canvas c(8, 8);
    {
        UseFont f(c.dc(), -20, "ZORVE-font", FW_NORMAL, false, FIXED_PITCH | FF_MODERN);
        EXPECT_EQ(metrics(c.dc()).tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
        EXPECT_EQ(extent(c.dc(), "iiii").cx, extent(c.dc(), "WWWW").cx);
    }
    {
        UseFont f(c.dc(), -20, "ZORVE-font");
        EXPECT_NE(metrics(c.dc()).tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
        EXPECT_LT(extent(c.dc(), "iiii").cx, extent(c.dc(), "WWWW").cx);
    }
}

TEST(TextMetrics, BoldAndItalicRequestsAreHonoured) {
    Canvas c(8, 8);
    {
        UseFont f(c.dc(), -20, "sans-serif", FW_BOLD, true);
        TEXTMETRICA tm = metrics(c.dc());
        EXPECT_GE(tm.tmWeight, 600);
        EXPECT_NE(tm.tmItalic, 0);
    }
    Canvas regular(300, 60), bold(300, 60);
    UseFont fr(regular.dc(), -30), fb(bold.dc(), -30, "sans-serif", FW_BOLD);
    SetBkMode(regular.dc(), TRANSPARENT);
    SetBkMode(bold.dc(), TRANSPARENT);
    TextOutA(regular.dc(), 0, 0, "HHHH", 4);
    TextOutA(bold.dc(), 0, 0, "HHHH", 4);
    EXPECT_GT(ink(bold, WHITE).count, ink(regular, WHITE).count * 11 / 10);
}

TEST(TextMetrics, StockFontsResolveToRealFaces) {
    for (int which : {SYSTEM_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, DEFAULT_GUI_FONT,
                      OEM_FIXED_FONT, SYSTEM_FIXED_FONT, DEVICE_DEFAULT_FONT}) {
        SCOPED_TRACE(which);
        Canvas c(200, 40);
        HGDIOBJ previous = SelectObject(c.dc(), GetStockObject(which));
        ASSERT_NE(previous, nullptr);
        TEXTMETRICA tm = metrics(c.dc());
        EXPECT_GT(tm.tmHeight, 6);
        const bool fixed = which == ANSI_FIXED_FONT || which == OEM_FIXED_FONT ||
                           which == SYSTEM_FIXED_FONT;
        EXPECT_EQ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, fixed);
        if (which == SYSTEM_FONT) {
            EXPECT_GE(tm.tmWeight, 600);
        }
        SetBkMode(c.dc(), TRANSPARENT);
        EXPECT_TRUE(TextOutA(c.dc(), 2, 2, "Stock", 5));
        EXPECT_GT(ink(c, WHITE).count, 20);
        SelectObject(c.dc(), previous);
    }
}

// ---- extents --------------------------------------------------------------------------

TEST(TextExtent, InvalidArgumentsAreRefused) {
    Canvas c(8, 8);
    UseFont f(c.dc(), -20);
    SIZE s = {7, 7};
    EXPECT_TRUE(GetTextExtentPoint32A(c.dc(), nullptr, 0, &s));
    EXPECT_FALSE(GetTextExtentPoint32A(c.dc(), nullptr, 3, &s));
    EXPECT_FALSE(GetTextExtentPoint32A(c.dc(), "abc", 3, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "abc", 3, &s));
    EXPECT_FALSE(GetTextMetricsA(c.dc(), nullptr));
    EXPECT_FALSE(TextOutA(c.dc(), 0, 0, "abc", -1));
    EXPECT_FALSE(TextOutA(c.dc(), 0, 0, nullptr, 3));
    EXPECT_TRUE(TextOutA(c.dc(), 0, 0, nullptr, 0));
    EXPECT_EQ(ink(c, WHITE).count, 0);
}

// ---- drawing --------------------------------------------------------------------------

TEST(TextOut, InkStaysInTheCellBoxWithTheBaselineAtAscent) {
    Canvas c(300, 120);
    UseFont f(c.dc(), -24);
    const TEXTMETRICA tm = metrics(c.dc());
    const int x = 40, y = 30;
    const int baseline = y + tm.tmAscent;
    const SIZE box = extent(c.dc(), "Hxgp");
    Ink mixed = draw_and_find_ink(-24, "Hxgp", x, y);
    ASSERT_GT(mixed.count, 0);
    EXPECT_GE(mixed.left, x);
    EXPECT_LT(mixed.right, x + box.cx);
    EXPECT_GE(mixed.top, y);
    EXPECT_LT(mixed.bottom, y + tm.tmHeight);
    EXPECT_GE(mixed.bottom, baseline) << "descenders reach below the baseline";
    EXPECT_LT(mixed.left, x + 4) << "the first character starts at x";

    Ink capitals = draw_and_find_ink(-24, "HIEx", x, y);
    EXPECT_LT(capitals.bottom, baseline) << "nothing but descenders goes below the baseline";
    EXPECT_GE(capitals.bottom, baseline - 2) << "letters sit on the baseline";
    EXPECT_LE(capitals.top, baseline - 24 / 2);
}

TEST(TextOut, TransparentModeChangesOnlyGlyphPixels) {
    const COLORREF back = RGB(30, 160, 90);
    Canvas c(200, 60, back);
    UseFont f(c.dc(), -24);
    SetBkMode(c.dc(), TRANSPARENT);
    SetBkColor(c.dc(), RGB(255, 0, 0));
    SetTextColor(c.dc(), RGB(0, 0, 0));
    ASSERT_TRUE(TextOutA(c.dc(), 10, 10, "Mixed ink", 9));
    const SIZE box = extent(c.dc(), "Mixed ink");
    int untouched_in_box = 0, inked = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const COLORREF p = c.at(x, y);
            // Mixing towards black can only lower each channel.
            ASSERT_LE(GetRValue(p), GetRValue(back));
            ASSERT_LE(GetGValue(p), GetGValue(back));
            ASSERT_LE(GetBValue(p), GetBValue(back));
            const bool in_box = x >= 10 && x < 10 + box.cx && y >= 10 && y < 10 + box.cy;
            if (p == back && in_box) ++untouched_in_box;
            if (p != back) ++inked;
        }
    EXPECT_GT(inked, 50);
    EXPECT_GT(untouched_in_box, box.cx * box.cy / 2);
}

TEST(TextOut, OpaqueModeFillsTheCellBox) {
    const COLORREF back = RGB(30, 160, 90);
    Canvas c(200, 60, back);
    UseFont f(c.dc(), -24);
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), RGB(250, 0, 0));
    SetTextColor(c.dc(), RGB(0, 0, 250));
    const int x = 12, y = 9;
    ASSERT_TRUE(TextOutA(c.dc(), x, y, "Box it", 6));
    const SIZE box = extent(c.dc(), "Box it");
    int text_pixels = 0;
    for (int py = 0; py < c.height(); ++py)
        for (int px = 0; px < c.width(); ++px) {
            const COLORREF p = c.at(px, py);
            if (px >= x && px < x + box.cx && py >= y && py < y + box.cy) {
                // A mix of background and text colour, nothing else.
                ASSERT_EQ(GetGValue(p), 0) << px << "," << py;
                ASSERT_NEAR(GetRValue(p) + GetBValue(p), 250, 2) << px << "," << py;
                if (GetBValue(p) > 125) ++text_pixels;
            } else {
                ASSERT_EQ(p, back) << px << "," << py;
            }
        }
    EXPECT_EQ(c.at(x, y), RGB(250, 0, 0));
    EXPECT_EQ(c.at(x + box.cx - 1, y + box.cy - 1), RGB(250, 0, 0));
    EXPECT_GT(text_pixels, 30);
}

TEST(TextOut, FullyCoveredPixelsGetExactlyTheTextColour) {
    const COLORREF text = RGB(200, 30, 90);
    Canvas c(200, 80);
    UseFont f(c.dc(), -56);
    SetBkMode(c.dc(), TRANSPARENT);
    SetTextColor(c.dc(), text);
    TextOutA(c.dc(), 5, 5, "HIL", 3);
    int exact = 0, partial = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const COLORREF p = c.at(x, y);
            if (p == WHITE) continue;
            if (p == text) {
                ++exact;
                continue;
            }
            ++partial;
            // Anti-aliased edges lie between white and the text colour.
            EXPECT_GE(GetRValue(p), GetRValue(text));
            EXPECT_GE(GetGValue(p), GetGValue(text));
            EXPECT_GE(GetBValue(p), GetBValue(text));
        }
    EXPECT_GT(exact, 200);
    EXPECT_GT(partial, 0) << "edges are anti-aliased";
}

TEST(TextOut, EveryChannelMixesByTheSameCoverage) {
    // Drawn in pure red, green and blue on black, each picture's one channel is the
    // coverage: the three must agree pixel for pixel, and red must leave green alone.
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    std::vector<std::vector<int>> coverage;
    for (COLORREF colour : colours) {
        Canvas c(120, 50, RGB(0, 0, 0));
        UseFont f(c.dc(), -30);
        SetBkMode(c.dc(), TRANSPARENT);
        SetTextColor(c.dc(), colour);
        TextOutA(c.dc(), 3, 3, "Sway", 4);
        std::vector<int> channel;
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x) {
                const COLORREF p = c.at(x, y);
                channel.push_back(GetRValue(p) + GetGValue(p) + GetBValue(p));
                ASSERT_EQ(p & ~colour, 0u) << "only the text colour's channel changes";
            }
        coverage.push_back(channel);
    }
    EXPECT_EQ(coverage[0], coverage[1]);
    EXPECT_EQ(coverage[1], coverage[2]);
    int partial = 0;
    for (int v : coverage[0]) partial += v > 0 && v < 255;
    EXPECT_GT(partial, 20) << "edges are anti-aliased";
}

TEST(TextOut, ClipsAtEverySurfaceEdge) {
    const char* text = "Clip Wg|";
    const int n = static_cast<int>(std::strlen(text));
    for (int mode : {TRANSPARENT, OPAQUE}) {
        SCOPED_TRACE(mode);
        // The unclipped picture, drawn well inside a large surface at (rx, ry).
        const int rx = 120, ry = 60;
        Canvas reference(400, 160);
        UseFont fr(reference.dc(), -22);
        SetBkMode(reference.dc(), mode);
        SetBkColor(reference.dc(), RGB(255, 220, 0));
        SetTextColor(reference.dc(), RGB(0, 0, 128));
        TextOutA(reference.dc(), rx, ry, text, n);

        const POINT places[] = {{-20, -9}, {-45, 12}, {30, 20}, {25, -15}, {-3, 30}, {55, 28}};
        for (POINT at : places) {
            SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
            Canvas small(70, 40);
            UseFont fs(small.dc(), -22);
            SetBkMode(small.dc(), mode);
            SetBkColor(small.dc(), RGB(255, 220, 0));
            SetTextColor(small.dc(), RGB(0, 0, 128));
            ASSERT_TRUE(TextOutA(small.dc(), at.x, at.y, text, n));
            for (int y = 0; y < small.height(); ++y)
                for (int x = 0; x < small.width(); ++x)
                    ASSERT_EQ(small.at(x, y), reference.at(x - at.x + rx, y - at.y + ry))
                        << x << "," << y;
        }
    }
    // Positions whose sums overflow 32 bits, or lie far outside, draw nothing.
    Canvas c(64, 32);
    UseFont f(c.dc(), -20);
    SetBkColor(c.dc(), RGB(0, 0, 0));
    const POINT far_away[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, 0},
                              {0, INT_MAX}, {INT_MAX - 5, 0}, {-100000, 5}, {5, -100000}};
    for (POINT at : far_away) EXPECT_TRUE(TextOutA(c.dc(), at.x, at.y, "far away", 8));
    EXPECT_EQ(ink(c, WHITE).count, 0);
}

TEST(TextOut, UnknownFaceNameStillDraws) {
    Ink k = draw_and_find_ink(-20, "Fallback", 5, 5, "ZORVE-font");
    EXPECT_GT(k.count, 50);
    Ink empty_name = draw_and_find_ink(-20, "Fallback", 5, 5, "");
    EXPECT_GT(empty_name.count, 50);
}

TEST(TextOut, ControlBytesDrawTheDefaultGlyph) {
    Canvas newline(60, 40), control(60, 40);
    UseFont fn(newline.dc(), -20), fc(control.dc(), -20);
    TextOutA(newline.dc(), 5, 5, "\n", 1);
    TextOutA(control.dc(), 5, 5, "\x01", 1);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(newline.at(x, y), control.at(x, y));
}

TEST(TextOut, LongTextIsMeasuredAndDrawnSafely) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += static_cast<char>(1 + i % 255);
    Canvas c(320, 60);
    UseFont f(c.dc(), -18);
    long long sum = 0;
    for (char ch : text) sum += extent(c.dc(), std::string(1, ch)).cx;
    EXPECT_EQ(extent(c.dc(), text).cx, sum);

    SetBkMode(c.dc(), TRANSPARENT);
    for (int x : {0, -20000, 300, INT_MAX - 100, INT_MIN + 100})
        EXPECT_TRUE(TextOutA(c.dc(), x, 10, text.data(), 5000));
    EXPECT_GT(ink(c, WHITE).count, 500);

    // A megabyte in one call stops at the right edge instead of walking it all.
    std::string huge(1 << 20, 'M');
    EXPECT_TRUE(TextOutA(c.dc(), 0, 30, huge.data(), static_cast<int>(huge.size())));
    SIZE s;
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc(), huge.data(), static_cast<int>(huge.size()), &s));
    EXPECT_EQ(s.cx, static_cast<LONG>(huge.size()) * extent(c.dc(), "M").cx);
}

// ---- font objects ---------------------------------------------------------------------

TEST(TextFonts, FontsAreCountedAndReleased) {
    Canvas c(100, 40);
    const int before = zp::live_objects(zp::ObjType::Font);
    for (int i = 0; i < 200; ++i) {
        HFONT font = CreateFontA(-(8 + i % 30), 0, 0, 0, i % 2 ? FW_BOLD : FW_NORMAL, i % 3 == 0,
                                 FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, i % 4 ? "ZORVE-font" : "");
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(zp::live_objects(zp::ObjType::Font), before + 1);
        HGDIOBJ previous = SelectObject(c.dc(), font);
        SIZE s;
        GetTextExtentPoint32A(c.dc(), "count", 5, &s);
        TextOutA(c.dc(), 0, 0, "count", 5);
        SelectObject(c.dc(), previous);
        EXPECT_TRUE(DeleteObject(font));
    }
    EXPECT_EQ(zp::live_objects(zp::ObjType::Font), before);

    // A font deleted while selected is released when it is deselected; text calls in
    // between must still work.
    HFONT font = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "sans-serif");
    HGDIOBJ previous = SelectObject(c.dc(), font);
    DeleteObject(font);
    TEXTMETRICA tm;
    EXPECT_TRUE(GetTextMetricsA(c.dc(), &tm));
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_TRUE(TextOutA(c.dc(), 0, 0, "late", 4));
    SelectObject(c.dc(), previous);
    EXPECT_EQ(zp::live_objects(zp::ObjType::Font), before);
}

// ---- the font table -------------------------------------------------------------------

// The ink of one character, row by row: how wide it is on each row of its cell.
std::vector<int> row_widths(const char* face, char letter) {
    Canvas c(60, 60);
    UseFont f(c.dc(), -40, face);
    SetBkMode(c.dc(), TRANSPARENT);
    TextOutA(c.dc(), 5, 5, &letter, 1);
    std::vector<int> widths;
    for (int y = 0; y < c.height(); ++y) {
        int n = 0;
        for (int x = 0; x < c.width(); ++x) n += GetRValue(c.at(x, y)) < 128;
        if (n) widths.push_back(n);
    }
    return widths;
}

bool same_pixels(const char* face_a, const char* face_b) {
    Canvas a(300, 50), b(300, 50);
    UseFont fa(a.dc(), -24, face_a), fb(b.dc(), -24, face_b);
    SetBkMode(a.dc(), TRANSPARENT);
    SetBkMode(b.dc(), TRANSPARENT);
    TextOutA(a.dc(), 2, 2, "Be Mine, LUV U", 14);
    TextOutA(b.dc(), 2, 2, "Be Mine, LUV U", 14);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 300; ++x)
            if (a.at(x, y) != b.at(x, y)) return false;
    return true;
}

TEST(TextFontTable, ClassicFacesLookAsOnWindows) {
    Canvas c(8, 8);
    {
        UseFont f(c.dc(), -20, "Courier New");
        EXPECT_EQ(metrics(c.dc()).tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "fixed pitch";
        EXPECT_EQ(extent(c.dc(), "iiii").cx, extent(c.dc(), "WWWW").cx);
    }
    // A serif face's capital I is wider at its feet than along its stem; Arial's is a bar.
    const std::vector<int> times = row_widths("Times New Roman", 'I');
    const std::vector<int> arial = row_widths("Arial", 'I');
    ASSERT_GT(times.size(), 10u);
    ASSERT_GT(arial.size(), 10u);
    EXPECT_GT(times.back(), 2 * times[times.size() / 2]);
    EXPECT_LE(arial.back(), arial[arial.size() / 2] + 1);
    // Other names of the same faces, and GDI's default for an unknown name.
    EXPECT_TRUE(same_pixels("Helvetica", "Arial"));
    EXPECT_TRUE(same_pixels("ZORVE-font", "Arial"));
    EXPECT_TRUE(same_pixels("Courier", "Courier New"));
    EXPECT_TRUE(same_pixels("Times", "Times New Roman"));
    EXPECT_FALSE(same_pixels("Times New Roman", "Arial"));
}

// Draws texts in the faces programs ask for and writes a digest of the pixels and
// metrics to `path`; runs in a fresh process, so the fonts are looked up anew.
[[noreturn]] void write_text_digest(const std::string& path, const char* fontconfig_file) {
    if (fontconfig_file) setenv("FONTCONFIG_FILE", fontconfig_file, 1);
    const char* faces[] = {"Arial", "Times New Roman", "Courier New", "ZORVE-font", "sans-serif",
                           "serif", "monospace", "Helvetica", ""};
    uint64_t digest = 1469598103934665603ull;
    auto mix = [&digest](uint64_t v) { digest = (digest ^ v) * 1099511628211ull; };
    int inked = 0;
    for (const char* face : faces)
        for (int style = 0; style < 2; ++style) {
            Canvas c(260, 40);
            UseFont f(c.dc(), -22, face, style ? FW_BOLD : FW_NORMAL, style == 1);
            SetBkMode(c.dc(), TRANSPARENT);
            TextOutA(c.dc(), 2, 2, "Be Mine 1997 & LUV U", 20);
            const TEXTMETRICA tm = metrics(c.dc());
            mix(static_cast<uint64_t>(tm.tmHeight) << 32 | static_cast<uint32_t>(tm.tmAveCharWidth));
            for (int y = 0; y < c.height(); ++y)
                for (int x = 0; x < c.width(); ++x) mix(c.at(x, y));
            inked += ink(c, WHITE).count > 100;
        }
    for (int stock : {SYSTEM_FONT, ANSI_FIXED_FONT, DEFAULT_GUI_FONT}) {
        Canvas c(260, 40);
        HGDIOBJ previous = SelectObject(c.dc(), GetStockObject(stock));
        TextOutA(c.dc(), 2, 2, "ZORVE Text", 10);
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x) mix(c.at(x, y));
        SelectObject(c.dc(), previous);
    }
    std::ofstream(path) << digest << "\n";
    std::exit(inked == 18 ? 0 : 1);
}

TEST(TextFontTableDeathTest, PixelsDoNotDependOnFontconfigPreferences) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // fresh processes, no cached fonts
    // A machine whose fontconfig knows only DejaVu, and prefers DejaVu Serif for every
    // request, whatever the name.
    const std::string dir = testing::TempDir();
    const std::string hostile = dir + "zorve-hostile-fonts.conf";
    std::ofstream(hostile) << "<?xml version=\"1.0\"?>\n<fontconfig>\n"
                              "<dir>/usr/share/fonts/truetype/dejavu</dir>\n"
                              "<match target=\"pattern\"><edit name=\"family\" mode=\"prepend\" "
                              "binding=\"strong\"><string>DejaVu Serif</string></edit></match>\n"
                              "</fontconfig>\n";
    const std::string usual = dir + "zorve-digest-usual", other = dir + "zorve-digest-hostile";
    EXPECT_EXIT(write_text_digest(usual, nullptr), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(write_text_digest(other, hostile.c_str()), testing::ExitedWithCode(0), "");
    std::string a, b;
    std::ifstream(usual) >> a;
    std::ifstream(other) >> b;
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, b) << "text drawn differently under another fontconfig configuration";
}

// ---- no fonts at all ------------------------------------------------------------------

// Runs in a fresh process whose font table finds no files and whose fontconfig sees
// no fonts.
[[noreturn]] void draw_without_fonts(const std::string& config) {
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    setenv("ZORVE_FONT_DIR", (config + ".missing").c_str(), 1);
    Canvas c(120, 40);
    bool ok = true;
    const char* faces[] = {"sans-serif", "monospace", "ZORVE-font"};
    for (int i = 0; i < 3; ++i) {
        UseFont f(c.dc(), -20 + 12 * i, faces[i]);
        TEXTMETRICA tm = {};
        ok = ok && GetTextMetricsA(c.dc(), &tm) && tm.tmHeight > 0 && tm.tmAveCharWidth > 0;
        SIZE s = {};
        ok = ok && GetTextExtentPoint32A(c.dc(), "line", 4, &s) && s.cy == tm.tmHeight;
        SetBkMode(c.dc(), OPAQUE);
        SetBkColor(c.dc(), RGB(0, 0, 0));
        TextOutA(c.dc(), 5, 5, "nothing", 7);
    }
    ok = ok && ink(c, WHITE).count == 0;
    std::exit(ok ? 0 : 1);
}

TEST(TextNoFontDeathTest, ReportsOnceAndDrawsNothing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, no cached fonts
    const std::string config = testing::TempDir() + "zorve-no-fonts.conf";
    std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    EXPECT_EXIT(draw_without_fonts(config), testing::ExitedWithCode(0),
                "^zorve: font file [^\n]* not found [^\n]*\nzorve: no usable font[^\n]*\n$");
}

// ---- a table file that FreeType cannot use -------------------------------------------

// Runs in a fresh process whose font folder holds, under the name the table gives
// Arial, what FreeType cannot draw with: text is drawn all the same, in fontconfig's
// face, and the file is reported once however often it is asked for.
[[noreturn]] void draw_over_an_unusable_file(const std::string& folder) {
    setenv("ZORVE_FONT_DIR", folder.c_str(), 1);
    alarm(30);  // a program that hangs at its first text fails here instead
    int inked = 0;
    for (int height : {-20, -31}) {
        Canvas c(160, 48);
        UseFont f(c.dc(), height, "Arial");
        SetBkMode(c.dc(), TRANSPARENT);
        TextOutA(c.dc(), 4, 4, "Be Mine", 7);
        inked += ink(c, WHITE).count > 50;
    }
    std::exit(inked == 2 ? 0 : 1);
}

TEST(TextFontTableDeathTest, AFileFreeTypeCannotUseIsReportedOnceAndFallsBack) {
    // After the report, nothing more of ours: only what a sanitizer says at exit.
    const std::string ONCE = "([- S][^\n]*\n|\n)*$";
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // fresh processes, no cached fonts
    zp::FaceFile real;
    ASSERT_TRUE(zp::match_face_file("Liberation Sans", FW_NORMAL, false, false, &real));
    std::ifstream in(real.path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1000u);

    const std::string pipe_folder = testing::TempDir() + "zorve-font-pipe";
    const std::string cut_folder = testing::TempDir() + "zorve-font-cut";
    mkdir(pipe_folder.c_str(), 0755);
    mkdir(cut_folder.c_str(), 0755);
    const std::string pipe = pipe_folder + "/LiberationSans-Regular.ttf";
    unlink(pipe.c_str());
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    std::ofstream(cut_folder + "/LiberationSans-Regular.ttf", std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));

    EXPECT_EXIT(draw_over_an_unusable_file(pipe_folder), testing::ExitedWithCode(0),
                "^zorve: font file [^\n]*/LiberationSans-Regular.ttf cannot be used \\(not a regular "
                "file\\)[^\n]*\n" + ONCE);
    EXPECT_EXIT(draw_over_an_unusable_file(cut_folder), testing::ExitedWithCode(0),
                "^zorve: font file [^\n]*/LiberationSans-Regular.ttf cannot be used \\(FreeType cannot "
                "load its glyphs\\)[^\n]*\n" + ONCE);
}

}  // namespace
