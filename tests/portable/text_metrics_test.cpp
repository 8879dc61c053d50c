// Text semantics that must agree with Win32 itself: this runs against the platform
// layer natively and against Wine's GDI in the cross build.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32.h"

namespace {

// A memory DC with a screen-compatible bitmap (black) and a DejaVu face selected;
// DejaVu is the one family every host that runs these tests installs.
class TextDC : public ::testing::Test {
protected:
    void use(int height, const char* face = "DejaVu Sans", DWORD pitch = DEFAULT_PITCH) {
        release_font();
        font_ = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, face);
        previous_font_ = SelectObject(dc_, font_);
    }
    void SetUp() override {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, WIDTH, HEIGHT);
        ReleaseDC(nullptr, screen);
        previous_bitmap_ = SelectObject(dc_, bitmap_);
    }
    void TearDown() override {
        release_font();
        SelectObject(dc_, previous_bitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    void release_font() {
        if (!font_) return;
        SelectObject(dc_, previous_font_);
        DeleteObject(font_);
        font_ = nullptr;
    }
    TEXTMETRICA metrics() {
        TEXTMETRICA tm = {};
        EXPECT_TRUE(GetTextMetricsA(dc_, &tm));
        return tm;
    }
    SIZE extent(const std::string& text) {
        SIZE s = {-1, -1};
        EXPECT_TRUE(GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s));
        return s;
    }

    static constexpr int WIDTH = 200, HEIGHT = 80;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ previous_bitmap_ = nullptr, previous_font_ = nullptr;
};

TEST_F(TextDC, HeightSignSelectsCellOrEmHeight) {
    for (int h : {11, 20, 32}) {
        SCOPED_TRACE(h);
        use(h);
        TEXTMETRICA tm = metrics();
        // Win32 rounds ascent, descent and leading separately: allow one pixel.
        EXPECT_NEAR(tm.tmHeight, h, 1);
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        use(-h);
        tm = metrics();
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, h, 1);
        EXPECT_GT(tm.tmHeight, h);
    }
    use(0);
    EXPECT_EQ(metrics().tmHeight, 16);
}

TEST_F(TextDC, VariablePitchSetsThePitchBit) {
    use(-16, "DejaVu Sans Mono", FIXED_PITCH | FF_MODERN);
    EXPECT_EQ(metrics().tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
    EXPECT_EQ(extent("iii").cx, extent("WWW").cx);
    use(-16, "DejaVu Sans");
    EXPECT_NE(metrics().tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
}

TEST_F(TextDC, ExtentsOfEmptyControlAndNewlineText) {
    use(-20);
    const LONG cell = metrics().tmHeight;
    SIZE s = {5, 5};
    EXPECT_TRUE(GetTextExtentPoint32A(dc_, "", 0, &s));
    EXPECT_EQ(s.cx, 0);
    EXPECT_EQ(s.cy, 0);
    EXPECT_FALSE(GetTextExtentPoint32A(dc_, "abc", -1, &s));
    EXPECT_FALSE(TextOutA(dc_, 0, 0, "abc", -1));

    EXPECT_EQ(extent("ab").cx, extent("a").cx + extent("b").cx);
    EXPECT_EQ(extent("a\nb").cy, cell);
    EXPECT_EQ(extent("\n").cy, cell);
    EXPECT_GT(extent("\n").cx, 0) << "a newline byte measures as the default glyph";
    EXPECT_EQ(extent("\n").cx, extent("\x01").cx);
}

TEST_F(TextDC, OpaqueTextFillsItsCellBoxFromTheTopLeft) {
    use(-20);
    const TEXTMETRICA tm = metrics();
    const SIZE box = extent("HIE");
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, RGB(255, 0, 0));
    SetTextColor(dc_, RGB(255, 255, 255));
    const int x = 30, y = 20;
    ASSERT_TRUE(TextOutA(dc_, x, y, "HIE", 3));
    int glyph_rows_below_baseline = 0, glyph_pixels = 0;
    for (int py = 0; py < HEIGHT; ++py)
        for (int px = 0; px < WIDTH; ++px) {
            const COLORREF p = GetPixel(dc_, px, py);
            const bool in_box = px >= x && px < x + box.cx && py >= y && py < y + tm.tmHeight;
            if (!in_box) {
                ASSERT_EQ(p, RGB(0, 0, 0)) << px << "," << py;
                continue;
            }
            ASSERT_EQ(GetRValue(p), 255) << px << "," << py;  // background or text, mixed
            if (GetGValue(p) > 128) {
                ++glyph_pixels;
                if (py >= y + tm.tmAscent) ++glyph_rows_below_baseline;
            }
        }
    EXPECT_GT(glyph_pixels, 30);
    EXPECT_EQ(glyph_rows_below_baseline, 0) << "capitals sit on the baseline at y + tmAscent";
}

}  // namespace
