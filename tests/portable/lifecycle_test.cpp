// Starting and stopping the runtime: a second start while running changes nothing, and
// a start after a stop begins afresh, without leaking what the first run held.
#include "runtime_fixture.h"
#ifndef _WIN32
#include "platform/gdi/counts.h"
#endif

namespace {

int gdi_objects() {
#ifdef _WIN32
    return 0;  // Wine keeps no per-process count to compare
#else
    return zp::live_objects_total();
#endif
}

void start() {
    static char command_line[] = "";
#ifdef _WIN32
    void* instance = GetModuleHandleA(nullptr);
#else
    void* instance = nullptr;
#endif
    EXPECT_EQ(ZORVE_start(instance, nullptr, command_line, SW_SHOWNORMAL), 1);
    console_show(0);
    ZORVE_set_logging(0);
}

int wait_for_click() {
    const zt::Snapshot s = zt::snapshot();
    PostMessageA(s.graphics_window, WM_LBUTTONDOWN, 1, MAKELPARAM(s.origin_x + 7, s.origin_y - 9));
    EventRecord e{};
    const int kind = ZORVE_wait_event(&e);
    EXPECT_EQ(e.x, 7);
    EXPECT_EQ(e.y, 9);
    return kind;
}

TEST(Lifecycle, StartTwiceWhileRunningChangesNothing) {
    runtime_reset();
    const int before = gdi_objects();
    start();
    const zt::Snapshot first = zt::snapshot();
    const HWND graphics = first.graphics_window, console = first.console_window;
    const int running = gdi_objects();
    ZORVE_clear();
    ZORVE_draw_circle(ZORVE_RED, 0, 0, 20);
    start();
    EXPECT_EQ(zt::snapshot().graphics_window, graphics);
    EXPECT_EQ(zt::snapshot().console_window, console);
    EXPECT_EQ(gdi_objects(), running) << "a second start must not create what the first holds";
    EXPECT_EQ(fixture::pixel_at(0, 0), RGB(255, 0, 0)) << "the canvas is the first start's";
    EXPECT_EQ(wait_for_click(), ZORVE_MOUSE);
    ZORVE_stop();
    runtime_reset();
    EXPECT_EQ(gdi_objects(), before);
}

TEST(Lifecycle, StartAfterStopRunsAfresh) {
    runtime_reset();
    const int before = gdi_objects();
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        start();
        const HWND graphics = zt::snapshot().graphics_window;
        EXPECT_TRUE(IsWindow(graphics));
        EXPECT_EQ(zt::snapshot().logging_flag, 0);
        EXPECT_EQ(zt::snapshot().run_flag, 0);
        ZORVE_set_animation(ANIMATE_RUN);
        ZORVE_clear();
        // The quit that closing the old windows asked for does not end this run's wait.
        EXPECT_EQ(wait_for_click(), ZORVE_MOUSE);
        EXPECT_EQ(ZORVE_stop(), 1);
        EXPECT_EQ(ZORVE_stop(), 1) << "stopping twice is harmless";
    }
    const HWND last = zt::snapshot().graphics_window;
    start();
    EXPECT_FALSE(IsWindow(last)) << "the stopped run's windows go when the next run starts";
    ZORVE_stop();
    runtime_reset();
    EXPECT_EQ(gdi_objects(), before) << "two runs leave no GDI object behind";
}

}  // namespace

namespace {

// Calls made before the start say so on standard error, once each, and never hang.
TEST(Lifecycle, CallsBeforeTheStartSaySoOnceAndDoNotWait) {
    runtime_reset();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ZORVE_draw_circle(ZORVE_RED, 0, 0, 5), 1);
    EXPECT_EQ(ZORVE_draw_circle(ZORVE_RED, 0, 0, 5), 1);
    EXPECT_EQ(ZORVE_draw_textf(ZORVE_RED, 0, 0, 0, "%d", 1234), 4);
    EXPECT_EQ(ZORVE_save_picture("early.png"), 0);
    EventRecord e{7, 7, 7};
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_QUIT);
    EXPECT_EQ(e.x + e.y + e.key, 0);
    EXPECT_EQ(ZORVE_set_animation(ANIMATE_RUN), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "ZORVE_draw_circle called before ZORVE_start\n"
              "ZORVE_draw_textf called before ZORVE_start\n"
              "ZORVE_save_picture called before ZORVE_start\n"
              "ZORVE_wait_event called before ZORVE_start\n"
              "ZORVE_set_animation called before ZORVE_start\n");
    // Started, the same calls work.
    start();
    EXPECT_EQ(ZORVE_set_animation(ANIMATE_HALT), 1);
    ZORVE_stop();
    runtime_reset();
}

}  // namespace
