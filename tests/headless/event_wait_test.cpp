// The event wait against the headless presenter: virtual time, a person played by the
// idle hook, and what the windows show.
#include <vector>

#include "platform/display/headless.h"
#include "platform/presenter.h"
#include "runtime_fixture.h"

namespace hl = zp::headless;

namespace {

class Wait : public fixture::Canvas {
protected:
    void TearDown() override {
        hl::set_idle_hook(nullptr);
        fixture::Canvas::TearDown();
    }
    static int wait() {
        EventRecord e;
        return ZORVE_wait_event(&e);
    }
};

TEST_F(Wait, TenTicksGiveAtMostTenPeriodicEvents) {
    ZORVE_set_animation(ANIMATE_RUN);
    int ticks = 0;
    hl::set_idle_hook([&] {
        if (ticks < 10) {
            hl::advance_clock(ANIMATION_PERIOD_MS);
            ++ticks;
        } else {
            const zt::Snapshot s = zt::snapshot();
            hl::click(s.graphics_window, s.origin_x, s.origin_y);
        }
    });
    int periodic = 0;
    while (wait() == ZORVE_PERIODIC) ++periodic;
    EXPECT_EQ(ticks, 10);
    EXPECT_LE(periodic, 10);
    EXPECT_GE(periodic, 9);
}

TEST_F(Wait, AClickWhileAPeriodicEventWaitsForItsTickWins) {
    ZORVE_set_animation(ANIMATE_RUN);
    bool clicked = false;
    hl::set_idle_hook([&] {
        ASSERT_FALSE(clicked);
        const zt::Snapshot s = zt::snapshot();
        hl::click(s.graphics_window, s.origin_x + 10, s.origin_y - 20);
        clicked = true;
    });
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, 10);
    EXPECT_EQ(e.y, 20);
    EXPECT_EQ(zt::snapshot().run_flag, 1);
}

TEST_F(Wait, ATickThatCameBeforeTheEventDoesNotReleaseIt) {
    hl::advance_clock(1000);  // the timer is overdue: one pending tick, not ten
    ZORVE_set_animation(ANIMATE_RUN);
    int idle = 0;
    hl::set_idle_hook([&] {
        ++idle;
        hl::advance_clock(ANIMATION_PERIOD_MS);
    });
    EXPECT_EQ(wait(), ZORVE_PERIODIC);
    const int64_t after_first = hl::now_ms();
    EXPECT_EQ(wait(), ZORVE_PERIODIC);
    EXPECT_GE(hl::now_ms() - after_first, int64_t(ANIMATION_PERIOD_MS));
    EXPECT_GE(idle, 1);
}

TEST_F(Wait, TheWaitSleepsInsteadOfPollingWhileHalted) {
    int idle = 0;
    hl::set_idle_hook([&] {
        if (++idle == 3) hl::click(zt::snapshot().graphics_window, 5, 5);
        else hl::advance_clock(ANIMATION_PERIOD_MS);
    });
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    // Each sleep ended with a timer message or the click: no pass ran without one.
    EXPECT_EQ(idle, 3);
}

TEST_F(Wait, AWaitThatNothingCanEndStopsWithAClearMessage) {
    KillTimer(zt::snapshot().graphics_window, ANIMATION_TIMER);
    hl::set_idle_hook([] {});  // a person who does nothing
    EXPECT_THROW(wait(), hl::Stuck);
    SetTimer(zt::snapshot().graphics_window, ANIMATION_TIMER, ANIMATION_PERIOD_MS, nullptr);
}

// A program's own headless run has nobody to act: time runs as fast as the program
// does, and a wait that only ticks could end, showing nothing new for a minute, is
// ended as closing the window ends it.
TEST_F(Wait, WithoutAPersonTimeJumpsToTheTickAndAnEndlessWaitIsClosed) {
    ZORVE_set_animation(ANIMATE_RUN);
    int64_t start = hl::now_ms();
    for (int i = 0; i < 20; ++i) {
        ZORVE_draw_pixel(i % 2 ? ZORVE_RED : ZORVE_BLUE, 0, 0);  // each frame shows something new
        ASSERT_EQ(wait(), ZORVE_PERIODIC);
    }
    EXPECT_GE(hl::now_ms() - start, 19 * int64_t(ANIMATION_PERIOD_MS));
    EXPECT_LE(hl::now_ms() - start, 21 * int64_t(ANIMATION_PERIOD_MS));
    ZORVE_set_animation(ANIMATE_HALT);
    start = hl::now_ms();
    EXPECT_EQ(wait(), ZORVE_QUIT);
    EXPECT_FALSE(IsWindow(zt::snapshot().graphics_window));
    EXPECT_LE(hl::now_ms() - start, 61000);
}

TEST_F(Wait, QuitPaths) {
    hl::set_idle_hook([] { hl::menu_command(zt::snapshot().graphics_window, MENU_QUIT); });
    EXPECT_EQ(wait(), ZORVE_QUIT);
    hl::set_idle_hook([] { hl::press_ctrl_key(zt::snapshot().graphics_window, 'Q'); });
    EXPECT_EQ(wait(), ZORVE_QUIT);
    hl::set_idle_hook([] { hl::close_window(zt::snapshot().graphics_window); });
    EXPECT_EQ(wait(), ZORVE_QUIT);
    EXPECT_FALSE(IsWindow(zt::snapshot().graphics_window));
}

TEST_F(Wait, KeysTypedInTheConsoleActInTheGraphicsWindow) {
    hl::set_idle_hook([] {
        const HWND console = zt::snapshot().console_window;
        hl::press_ctrl_key(console, 'A');
        hl::type_text(console, "k");
    });
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 'k');
    EXPECT_EQ(zt::snapshot().run_flag, 1);
}

TEST_F(Wait, ManyDrawingsBetweenTwoPassesCauseOneCopy) {
    const zt::Snapshot s = zt::snapshot();
    HDC screen = GetDC(s.graphics_window);
    for (int i = 0; i < 50; ++i) ZORVE_draw_circle(ZORVE_GREEN, 0, 0, 40 - i % 10);
    EXPECT_NE(GetPixel(screen, s.origin_x, s.origin_y), RGB(0, 255, 0));  // not shown yet
    hl::set_idle_hook([] { hl::click(zt::snapshot().graphics_window, 1, 1); });
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_EQ(GetPixel(screen, s.origin_x, s.origin_y), RGB(0, 255, 0));
    EXPECT_EQ(zt::snapshot().canvas_dirty, 0);
    ReleaseDC(s.graphics_window, screen);
}

TEST_F(Wait, APaintAlwaysCopiesTheCanvas) {
    const zt::Snapshot s = zt::snapshot();
    HDC screen = GetDC(s.graphics_window);
    ZORVE_draw_rect(ZORVE_BLUE, -10, 10, 10, -10, 0);
    zt::pretend_canvas_shown();  // as if already shown; a paint must copy all the same
    InvalidateRect(s.graphics_window, nullptr, TRUE);
    hl::set_idle_hook([] { hl::click(zt::snapshot().graphics_window, 1, 1); });
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_EQ(GetPixel(screen, s.origin_x, s.origin_y), RGB(0, 0, 255));
    ReleaseDC(s.graphics_window, screen);
}

TEST_F(Wait, TheWindowHasTheRunMenuAndItsGeometry) {
    const zt::Snapshot s = zt::snapshot();
    RECT client;
    GetClientRect(s.graphics_window, &client);
    EXPECT_EQ(client.right, 595);
    EXPECT_EQ(client.bottom, 496);
    EXPECT_EQ(s.origin_x, 297);
    EXPECT_EQ(s.origin_y, 248);
    std::vector<zp::MenuItemView> bar = zp::menu_items(GetMenu(s.graphics_window));
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_EQ(bar[0].text, "&Run");
    std::vector<zp::MenuItemView> items = zp::menu_items(s.run_menu);
    ASSERT_EQ(items.size(), 18u);
    EXPECT_EQ(items[0].text, "&Animate\tCtrl+A");
    EXPECT_TRUE(items[3].flags & MF_SEPARATOR);
    EXPECT_EQ(items[10].text, "&Quit\tCtrl+Q");
    EXPECT_EQ(items[11].text, "&Save Picture\tCtrl+S");
    EXPECT_EQ(items[11].id, unsigned(MENU_SAVE_PICTURE));
    EXPECT_EQ(items[12].text, "Save &Animation\tCtrl+G");
    EXPECT_EQ(items[12].id, unsigned(MENU_SAVE_ANIMATION));
    EXPECT_TRUE(items[13].flags & MF_SEPARATOR);
    EXPECT_EQ(items[14].text, "ZORVE v2.2 July 1997");
    for (int i = 14; i < 18; ++i) {
        EXPECT_EQ(items[size_t(i)].id, unsigned(MENU_INFO));
        EXPECT_TRUE(items[size_t(i)].flags & MF_GRAYED);
    }
    zp::WindowView view;
    ASSERT_TRUE(zp::window_view(s.graphics_window, &view));
    EXPECT_EQ(view.title, "ZORVE Graphics");
    EXPECT_EQ(view.outer_width, 601);
    EXPECT_EQ(view.outer_height, 540);
    EXPECT_EQ(view.x, 0);
    EXPECT_EQ(view.y, 0);
    ASSERT_TRUE(zp::window_view(s.console_window, &view));
    EXPECT_EQ(view.y, 2 * 768 / 3 + 1);
    EXPECT_EQ(view.outer_width, 1024);
    EXPECT_EQ(view.outer_height, 768 / 3);
}

TEST_F(Wait, DrawingsFollowTheCentreWhenTheClientAreaChanges) {
    HMENU bar = GetMenu(zt::snapshot().graphics_window);
    SetMenu(zt::snapshot().graphics_window, nullptr);  // the client area grows by the menu bar
    EXPECT_EQ(zt::snapshot().origin_y, (496 + 19) / 2);
    ZORVE_draw_pixel(ZORVE_RED, 0, 0);
    EXPECT_EQ(GetPixel(zt::snapshot().canvas_dc, 297, 257), RGB(255, 0, 0));
    SetMenu(zt::snapshot().graphics_window, bar);
    EXPECT_EQ(zt::snapshot().origin_y, 248);
    EXPECT_EQ(GetPixel(zt::snapshot().canvas_dc, 297, 257), RGB(255, 0, 0));  // what was drawn stays
}

}  // namespace

TEST(WaitBeforeStart, ControlsReturnZeroBeforeTheRuntimeStarts) {
    if (zt::snapshot().graphics_window) GTEST_SKIP() << "the runtime was started by an earlier test in this process";
    EXPECT_EQ(ZORVE_set_animation(ANIMATE_RUN), 0);
    EXPECT_EQ(zt::snapshot().run_flag, 0);
    EXPECT_EQ(ZORVE_set_logging(0), 0);
    EXPECT_EQ(zt::snapshot().logging_flag, 1);
    EXPECT_EQ(ZORVE_save_animation("early.gif", 3), 0);
    EXPECT_FALSE(zt::animation().collecting);
}

namespace {

// The person holds Ctrl, switches to another program and lets go of Ctrl there, comes
// back and types: the letters type, and the q of "sequel" does not quit.
TEST_F(Wait, CtrlLetGoInAnotherProgramIsNotHeldOnReturn) {
    const HWND w = zt::snapshot().graphics_window;
    hl::focus(w, true);
    hl::key_down(w, VK_CONTROL);
    hl::focus(w, false);  // the release goes to the other program
    hl::focus(w, true);
    hl::type_text(w, "sequel");
    std::string typed;
    for (int i = 0; i < 6; ++i) {
        EventRecord e{};
        hl::set_idle_hook([] { hl::click(zt::snapshot().graphics_window, 1, 1); });  // bounds the wait
        ASSERT_EQ(ZORVE_wait_event(&e), ZORVE_KBD) << "after \"" << typed << "\"";
        typed += e.key;
    }
    EXPECT_EQ(typed, "sequel");
}

}  // namespace
