// The event wait, the menu and the shortcuts, driven by posted messages: these run on
// our USER layer and, in the Windows build, on Wine's.
#include "runtime_fixture.h"

namespace {

class Events : public fixture::TimedCanvas {
protected:
    static void post(UINT message, WPARAM wparam, LPARAM lparam) {
        PostMessageA(zt::snapshot().graphics_window, message, wparam, lparam);
    }
    static void click_client(int x, int y) {
        post(WM_LBUTTONDOWN, 1, MAKELPARAM(x, y));
        post(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    static void key(int vk) {
        post(WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
        post(WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
    }
    // Ctrl stays held until release_ctrl(): the character that the key-down is
    // translated into is posted behind what is already queued, and must still find Ctrl
    // held, as it does when a person types.
    static void ctrl_key(int vk) {
        post(WM_KEYDOWN, VK_CONTROL, 1);
        key(vk);
    }
    static void release_ctrl() {
        post(WM_KEYUP, VK_CONTROL, static_cast<LPARAM>(0xC0000001u));
        fixture::drain_messages();
    }
    // Ends a wait that shortcuts alone would not end, then takes what is left over.
    static int wait_after_click() {
        const zt::Snapshot s = zt::snapshot();
        click_client(s.origin_x, s.origin_y);
        EventRecord e;
        const int kind = ZORVE_wait_event(&e);
        fixture::drain_messages();
        return kind;
    }
    static UINT menu_state(UINT id) { return GetMenuState(zt::snapshot().run_menu, id, MF_BYCOMMAND); }
};

TEST_F(Events, ClickYieldsCentredYUpCoordinates) {
    const zt::Snapshot s = zt::snapshot();
    click_client(s.origin_x, s.origin_y);
    EventRecord e{9, 9, 9};
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, 0);
    EXPECT_EQ(e.y, 0);
    EXPECT_EQ(e.key, 0);

    click_client(s.origin_x + 30, s.origin_y - 40);  // above and to the right of the centre
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, 30);
    EXPECT_EQ(e.y, 40);

    click_client(0, 0);
    int x = 1, y = 1;
    char k = 1;
    EXPECT_EQ(ZORVE_wait_event_xy(&x, &y, &k), ZORVE_MOUSE);
    EXPECT_EQ(x, -s.origin_x);
    EXPECT_EQ(y, s.origin_y);
    EXPECT_EQ(k, 0);
}

TEST_F(Events, TypedLetterIsAKeyEventOnlyWithoutCtrl) {
    key('A');
    EventRecord e{5, 5, 0};
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 'a');
    EXPECT_EQ(e.x, 0);
    EXPECT_EQ(e.y, 0);

    // With Ctrl held the letter types a control character, which is no event.
    ctrl_key('B');
    EXPECT_EQ(wait_after_click(), ZORVE_MOUSE);
    release_ctrl();
}

TEST_F(Events, ShortcutsActWithEitherKeyCode) {
    const struct {
        int key;
        int run;
    } steps[] = {{'A', 1}, {'h', 0}, {'a', 1}, {'H', 0}};
    for (const auto& step : steps) {
        ctrl_key(step.key);
        EXPECT_EQ(wait_after_click(), ZORVE_MOUSE) << char(step.key);
        EXPECT_EQ(zt::snapshot().run_flag, step.run) << char(step.key);
        release_ctrl();
    }

    // Ctrl+F from a halted animation yields exactly one periodic event.
    ctrl_key('F');
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_PERIODIC);
    EXPECT_EQ(zt::snapshot().run_flag, 0);
    EXPECT_EQ(zt::snapshot().step_flag, 0);
    release_ctrl();
    EXPECT_EQ(wait_after_click(), ZORVE_MOUSE);
}

TEST_F(Events, ShortcutKeysWithoutCtrlAreJustKeys) {
    key('Q');
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 'q');
    key('A');
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_KBD);
    EXPECT_EQ(zt::snapshot().run_flag, 0);
}

TEST_F(Events, LoggingToggleMovesTheCheckMarkOnly) {
    EXPECT_EQ(menu_state(MENU_LOGGING) & MF_CHECKED, 0u);
    ctrl_key('L');
    EXPECT_EQ(wait_after_click(), ZORVE_MOUSE);
    release_ctrl();
    EXPECT_EQ(zt::snapshot().logging_flag, 1);
    EXPECT_EQ(menu_state(MENU_LOGGING) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_FALSE(IsWindowVisible(zt::snapshot().console_window));
    post(WM_COMMAND, MENU_LOGGING, 0);
    EXPECT_EQ(wait_after_click(), ZORVE_MOUSE);
    EXPECT_EQ(zt::snapshot().logging_flag, 0);
    EXPECT_EQ(menu_state(MENU_LOGGING) & MF_CHECKED, 0u);

    // The application's switch also shows the console; switching off leaves it shown.
    EXPECT_EQ(ZORVE_set_logging(5), 1);
    EXPECT_EQ(zt::snapshot().logging_flag, 1);
    EXPECT_TRUE(IsWindowVisible(zt::snapshot().console_window));
    EXPECT_EQ(menu_state(MENU_LOGGING) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(ZORVE_set_logging(0), 1);
    EXPECT_TRUE(IsWindowVisible(zt::snapshot().console_window));
}

TEST_F(Events, QuitFromTheMenuAndFromCtrlQ) {
    post(WM_COMMAND, MENU_QUIT, 0);
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_QUIT);
    ctrl_key('q');
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_QUIT);
    release_ctrl();
    // Greyed lines and unknown ids do nothing.
    post(WM_COMMAND, MENU_INFO, 0);
    post(WM_COMMAND, 77, 0);
    EXPECT_EQ(wait_after_click(), ZORVE_MOUSE);
}

TEST_F(Events, AnimateQuitWaitsForAnEventThenQuits) {
    EXPECT_EQ(ZORVE_set_animation(ANIMATE_QUIT), 1);
    const zt::Snapshot s = zt::snapshot();
    click_client(s.origin_x + 3, s.origin_y + 4);
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_QUIT);
    EXPECT_EQ(e.x, 3);  // the record is filled from the event that arrived
    EXPECT_EQ(e.y, -4);
    key('Z');
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_QUIT);
    EXPECT_EQ(e.key, 'z');
}

TEST_F(Events, AnimationActions) {
    EXPECT_EQ(ZORVE_set_animation(3), 1);
    EXPECT_EQ(ZORVE_set_animation(4), 1);
    EXPECT_EQ(ZORVE_set_animation(-1), 1);
    EXPECT_EQ(ZORVE_set_animation(6), 1);
    const zt::Snapshot idle = zt::snapshot();
    EXPECT_EQ(idle.run_flag + idle.step_flag + idle.quit_flag, 0);
    ZORVE_set_animation(ANIMATE_RUN);
    ZORVE_set_animation(ANIMATE_STEP);
    EXPECT_EQ(zt::snapshot().run_flag, 1);  // a step while running leaves it running
    EXPECT_EQ(zt::snapshot().step_flag, 1);
    ZORVE_set_animation(ANIMATE_HALT);
    const zt::Snapshot halted = zt::snapshot();
    EXPECT_EQ(halted.run_flag + halted.step_flag, 0);
}

TEST_F(Events, RunningAnimationYieldsPeriodicEvents) {
    ZORVE_set_animation(ANIMATE_RUN);
    EventRecord e;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_PERIODIC);
    ZORVE_set_animation(ANIMATE_HALT);
    EXPECT_EQ(wait_after_click(), ZORVE_MOUSE);
}

TEST_F(Events, ClosingTheGraphicsWindowEndsTheWaitWithQuit) {
    post(WM_SYSCOMMAND, SC_CLOSE, 0);
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_QUIT);
    EXPECT_FALSE(IsWindow(zt::snapshot().graphics_window));
}

}  // namespace

namespace {

// A window of another kind, to take the keyboard focus away from the runtime's.
LRESULT CALLBACK plain_window_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

TEST_F(Events, CtrlReleasedElsewhereDoesNotStayHeld) {
    WNDCLASSA c = {};
    c.lpfnWndProc = plain_window_proc;
    c.lpszClassName = "ZorveTestOther";
    RegisterClassA(&c);
    HWND other = CreateWindowExA(0, "ZorveTestOther", "other", WS_OVERLAPPEDWINDOW, 700, 0, 100,
                                 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetFocus(zt::snapshot().graphics_window);
    post(WM_KEYDOWN, VK_CONTROL, 1);  // Ctrl pressed in the graphics window...
    fixture::drain_messages();
    SetFocus(other);  // ...and released in another window, which the runtime never hears
    PostMessageA(other, WM_KEYUP, VK_CONTROL, static_cast<LPARAM>(0xC0000001u));
    fixture::drain_messages();
    SetFocus(zt::snapshot().graphics_window);
    // Back in the graphics window, plain letters type; the q does not quit. A single
    // step of the animation bounds each wait, should the key bring no event: a typed
    // character replaces the periodic event that waits for its tick.
    std::string typed;
    for (const char* p = "SEQUEL"; *p; ++p) {
        key(*p);
        ZORVE_set_animation(ANIMATE_STEP);
        EventRecord e{};
        ASSERT_EQ(ZORVE_wait_event(&e), ZORVE_KBD) << "at " << *p;
        typed += e.key;
    }
    EXPECT_EQ(typed, "sequel");
    DestroyWindow(other);
    UnregisterClassA("ZorveTestOther", nullptr);
}

TEST_F(Events, WaitsWithoutRecordsStillWait) {
    const zt::Snapshot s = zt::snapshot();
    click_client(s.origin_x + 4, s.origin_y);
    EXPECT_EQ(ZORVE_wait_event(nullptr), ZORVE_MOUSE);
    key('K');
    EXPECT_EQ(ZORVE_wait_event_xy(nullptr, nullptr, nullptr), ZORVE_KBD);
    int x = 0;
    click_client(s.origin_x + 4, s.origin_y);
    EXPECT_EQ(ZORVE_wait_event_xy(&x, nullptr, nullptr), ZORVE_MOUSE);
    EXPECT_EQ(x, 4);
}

}  // namespace
