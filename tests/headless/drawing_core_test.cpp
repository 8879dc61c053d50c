// The drawing core on our own GDI: nothing leaks, hostile arguments stay bounded, and
// what was drawn can be looked at.
#include <climits>
#include <cstdio>

#include "platform/display/headless.h"
#include "platform/gdi/counts.h"
#include "runtime_fixture.h"

namespace {

using fixture::pixel_at;

class DrawingCore : public fixture::Canvas {};

TEST_F(DrawingCore, DrawingCallsReleaseEveryObjectTheyCreate) {
    zt::set_logging_quietly(true);
    const int pens = zp::live_objects(zp::ObjType::Pen);
    const int brushes = zp::live_objects(zp::ObjType::Brush);
    const int fonts = zp::live_objects(zp::ObjType::Font);
    const int total = zp::live_objects_total();
    ZORVE_draw_pixel(ZORVE_RED, 1, 1);
    ZORVE_draw_circle(ZORVE_RED, 0, 0, 10);
    ZORVE_draw_triangle(ZORVE_RED, 0, 0, 10, 0, 0, 10, 0);
    ZORVE_draw_triangle(ZORVE_RED, 0, 0, 10, 0, 0, 10, 3);
    ZORVE_draw_rect(ZORVE_RED, 0, 0, 10, -10, 0);
    ZORVE_draw_rect(ZORVE_RED, 0, 0, 10, -10, 4);
    ZORVE_draw_oval(ZORVE_RED, 0, 0, 10, -10, 0);
    ZORVE_draw_oval(ZORVE_RED, 0, 0, 10, -10, 2);
    ZORVE_draw_line(ZORVE_RED, 0, 0, 10, -10, 0);
    ZORVE_draw_text(ZORVE_RED, 0, 0, 12, "two\nlines");
    ZORVE_draw_textf(ZORVE_RED, 0, 0, 12, "%d", 5);
    ZORVE_clear();
    ZORVE_undo();
    EXPECT_EQ(zp::live_objects(zp::ObjType::Pen), pens);
    EXPECT_EQ(zp::live_objects(zp::ObjType::Brush), brushes);
    EXPECT_EQ(zp::live_objects(zp::ObjType::Font), fonts);
    EXPECT_EQ(zp::live_objects_total(), total);
}

TEST_F(DrawingCore, HostileArgumentsFinishAndStayOnTheCanvas) {
    ZORVE_draw_line(ZORVE_BLUE, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX);
    EXPECT_EQ(pixel_at(0, 0), RGB(0, 0, 255));
    ZORVE_clear();
    ZORVE_draw_rect(ZORVE_BLUE, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX);
    ZORVE_draw_oval(ZORVE_BLUE, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0);
    ZORVE_draw_oval(ZORVE_BLUE, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    ZORVE_draw_triangle(ZORVE_BLUE, INT_MIN, INT_MIN, INT_MAX, 0, 0, INT_MAX, INT_MAX);
    ZORVE_draw_circle(ZORVE_BLUE, INT_MAX, INT_MIN, INT_MAX);
    ZORVE_draw_text(ZORVE_BLUE, INT_MIN, INT_MAX, 127, "far\naway\n\n");
    ZORVE_draw_text(ZORVE_BLUE, INT_MAX, INT_MIN, 127, "far away");
    ZORVE_draw_pixel(ZORVE_BLUE, INT_MIN, INT_MIN);
    EXPECT_EQ(pixel_at(0, 0), RGB(0, 0, 255));
}

TEST_F(DrawingCore, PresentCopiesTheCanvasAndClearsTheDirtyFlag) {
    ZORVE_draw_rect(ZORVE_GREEN, -5, 5, 5, -5, 0);
    ASSERT_EQ(zt::snapshot().canvas_dirty, 1);
    canvas_present();
    const zt::Snapshot s = zt::snapshot();
    EXPECT_EQ(s.canvas_dirty, 0);
    EXPECT_EQ(GetPixel(s.window_dc, s.origin_x, s.origin_y), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(s.window_dc, 0, 0), RGB(0, 0, 0));  // the frame's visible corner
}

TEST_F(DrawingCore, CanvasCanBeSavedAsPng) {
    ZORVE_draw_circle(ZORVE_PINK, 0, 0, 50);
    const char* path = "drawing_core_canvas.png";
    ASSERT_TRUE(zp::headless::save_png(zt::snapshot().canvas_dc, path));
    FILE* f = std::fopen(path, "rb");
    ASSERT_NE(f, nullptr);
    unsigned char signature[8] = {};
    EXPECT_EQ(std::fread(signature, 1, 8, f), 8u);
    std::fclose(f);
    EXPECT_EQ(signature[1], 'P');
    EXPECT_EQ(signature[2], 'N');
    EXPECT_EQ(signature[3], 'G');
    EXPECT_FALSE(zp::headless::save_png(nullptr, path));
}

}  // namespace
