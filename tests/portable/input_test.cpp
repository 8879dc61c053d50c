// The extra input from window messages: what ZORVE_wait_input returns for each, what
// ZORVE_wait_event never sees, the set a program asks for, the tick period, and text
// measured as it is drawn. Messages are posted as the window system would queue them,
// so the same test runs on the platform and on Win32 itself.
#include <cstring>
#include <string>

#include "runtime_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class Input : public fixture::TimedCanvas {
protected:
    static void post(UINT message, WPARAM wparam, LPARAM lparam) {
        PostMessageA(zt::snapshot().graphics_window, message, wparam, lparam);
    }
    static LPARAM at(int x, int y) {
        const zt::Snapshot s = zt::snapshot();
        return MAKELPARAM(static_cast<WORD>(s.origin_x + x), static_cast<WORD>(s.origin_y - y));
    }
    static ZorveInput next() {
        ZorveInput in{};
        std::memset(&in, 0x55, sizeof in);
        const int kind = ZORVE_wait_input(&in);
        EXPECT_EQ(kind, in.kind);
        return in;
    }
};

TEST_F(Input, ADragIsAPressMovesAndARelease) {
    post(WM_LBUTTONDOWN, MK_LBUTTON, at(-10, 20));
    post(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, at(-5, 25));
    post(WM_MOUSEMOVE, 0, at(30, 40));  // no button held: not a drag
    post(WM_LBUTTONUP, MK_CONTROL, at(0, 30));
    post(WM_RBUTTONDOWN, MK_RBUTTON, at(7, -8));
    post(WM_MBUTTONUP, 0, at(1, 2));
    ZorveInput in = next();
    EXPECT_EQ(in.kind, ZORVE_MOUSE);
    EXPECT_EQ(in.x, -10);
    EXPECT_EQ(in.y, 20);
    EXPECT_EQ(in.button, 1);
    EXPECT_EQ(in.key + in.ctrl + in.shift, 0);
    in = next();
    EXPECT_EQ(in.kind, ZORVE_MOTION);
    EXPECT_EQ(in.x, -5);
    EXPECT_EQ(in.y, 25);
    EXPECT_EQ(in.button, 1);
    EXPECT_EQ(in.shift, 1);
    in = next();
    EXPECT_EQ(in.kind, ZORVE_RELEASE) << "the move without a button is not asked for by default";
    EXPECT_EQ(in.y, 30);
    EXPECT_EQ(in.ctrl, 1);
    in = next();
    EXPECT_EQ(in.kind, ZORVE_MOUSE);
    EXPECT_EQ(in.button, 2);
    EXPECT_EQ(in.x, 7);
    in = next();
    EXPECT_EQ(in.kind, ZORVE_RELEASE);
    EXPECT_EQ(in.button, 3);
}

// Keys are posted one at a time, each after the last one's events: a character that
// the window system makes of a key (TranslateMessage) is posted behind what is queued.
TEST_F(Input, KeysByTheirCodeAndKeysLetGo) {
    post(WM_KEYDOWN, VK_LEFT, 1);
    ZorveInput in = next();
    EXPECT_EQ(in.kind, ZORVE_KEY);
    EXPECT_EQ(in.key, ZORVE_KEY_LEFT);
    post(WM_KEYUP, VK_LEFT, 0xC0000001);
    in = next();
    EXPECT_EQ(in.kind, ZORVE_KEY_RELEASE);
    EXPECT_EQ(in.key, ZORVE_KEY_LEFT);
    post(WM_KEYDOWN, 'A', 1);  // the window system makes its character
    in = next();
    EXPECT_EQ(in.kind, ZORVE_KBD);
    EXPECT_EQ(in.key, 'a');
    post(WM_KEYUP, 'A', 0xC0000001);
    in = next();
    EXPECT_EQ(in.kind, ZORVE_KEY_RELEASE) << "the key let go reports the character it typed";
    EXPECT_EQ(in.key, 'a');
    post(WM_KEYDOWN, VK_F12, 1);
    in = next();
    EXPECT_EQ(in.kind, ZORVE_KEY);
    EXPECT_EQ(in.key, ZORVE_KEY_F12);
}

// Ctrl with a shortcut's key acts as the Run menu does and never arrives, key let go
// included; F1's code is p's, so Ctrl+F1 plays back a script, as Ctrl+P does.
TEST_F(Input, ShortcutsNeverArrive) {
    post(WM_KEYDOWN, VK_CONTROL, 1);
    post(WM_KEYDOWN, 'H', 1);
    post(WM_KEYUP, 'H', 0xC0000001);
    post(WM_KEYDOWN, VK_RIGHT, 1);  // not a shortcut: a key with Ctrl held
    post(WM_KEYUP, VK_CONTROL, 0xC0000001);
    ZORVE_set_animation(ANIMATE_RUN);
    ZorveInput in = next();
    EXPECT_EQ(in.kind, ZORVE_KEY);
    EXPECT_EQ(in.key, ZORVE_KEY_RIGHT);
    EXPECT_EQ(in.ctrl, 1);
    EXPECT_EQ(zt::snapshot().run_flag, 0) << "Ctrl+H halted the animation";
    fixture::drain_messages();  // Ctrl let go
}

// The plain wait is the wait it always was: the extra input does not reach it.
TEST_F(Input, ThePlainWaitHearsNoneOfIt) {
    post(WM_RBUTTONDOWN, MK_RBUTTON, at(1, 1));
    post(WM_RBUTTONUP, 0, at(1, 1));
    post(WM_MOUSEMOVE, MK_LBUTTON, at(2, 2));
    post(WM_LBUTTONUP, 0, at(2, 2));
    post(WM_KEYDOWN, VK_DOWN, 1);
    post(WM_KEYUP, VK_DOWN, 0xC0000001);
    post(WM_KEYDOWN, 'B', 1);
    EventRecord e{};
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 'b');
    post(WM_KEYUP, 'B', 0xC0000001);
    post(WM_LBUTTONDOWN, MK_LBUTTON, at(3, 4));
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, 3);
    EXPECT_EQ(e.y, 4);
}

TEST_F(Input, TheSetAskedForDecidesWhatArrives) {
    EXPECT_EQ(ZORVE_set_input(ZORVE_INPUT_MOTION), ZORVE_INPUT_RELEASE | ZORVE_INPUT_DRAG | ZORVE_INPUT_BUTTONS |
                                                       ZORVE_INPUT_KEYS);
    post(WM_RBUTTONDOWN, MK_RBUTTON, at(1, 1));
    post(WM_KEYDOWN, VK_UP, 1);
    post(WM_LBUTTONUP, 0, at(1, 1));
    post(WM_MOUSEMOVE, 0, at(9, 9));
    ZorveInput in = next();
    EXPECT_EQ(in.kind, ZORVE_MOTION);
    EXPECT_EQ(in.button, 0);
    EXPECT_EQ(in.x, 9);
    EXPECT_EQ(ZORVE_set_input(64 | ZORVE_INPUT_KEYS), ZORVE_INPUT_MOTION);
    EXPECT_EQ(lines(), (Lines{"Input kinds 80 not possible, using 16\n"}));
    EXPECT_EQ(ZORVE_set_input(0), ZORVE_INPUT_KEYS);
}

TEST_F(Input, TheTickPeriodIsTheProgramsWithinItsLimits) {
    EXPECT_EQ(ZORVE_set_tick_ms(5), 100);
    EXPECT_EQ(ZORVE_set_tick_ms(2000), 10);
    EXPECT_EQ(ZORVE_set_tick_ms(33), 1000);
    EXPECT_EQ(lines(), (Lines{"Tick period of 5 ms not possible, using 10 ms\n",
                              "Tick period of 2000 ms not possible, using 1000 ms\n"}));
    // Periodic events come one per tick of the new period.
    ZORVE_set_animation(ANIMATE_RUN);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(ZORVE_wait_input(nullptr), ZORVE_PERIODIC);
    ZORVE_set_animation(ANIMATE_HALT);
}

// Centred by its measured width, a text's ink sits within the measured span.
TEST_F(Input, TextWidthIsWhatTheDrawnTextCovers) {
    const char* text = "Be mine, Valentine";
    const int width = ZORVE_text_width(30, text);
    ASSERT_GT(width, 100);
    EXPECT_EQ(ZORVE_text_width(-30, text), width);
    EXPECT_EQ(ZORVE_text_width(30, "short\nBe mine, Valentine\nx"), width) << "the widest line";
    EXPECT_EQ(ZORVE_text_width(0, nullptr), 0);
    ZORVE_draw_text(ZORVE_BLACK, -width / 2, 0, 30, text);
    int left = 1000, right = -1000;
    for (int x = -296; x <= 296; ++x)  // inside the canvas's frame
        for (int y = 0; y <= 40; ++y)
            if (fixture::pixel_at(x, y) != RGB(255, 255, 255)) {
                left = x < left ? x : left;
                right = x > right ? x : right;
            }
    EXPECT_GE(left, -width / 2);
    EXPECT_LT(right, -width / 2 + width);
    EXPECT_LE(right - left + 1, width);
    EXPECT_GE(right - left + 1, width - 6) << "the ink fills the measured span but for the side bearings";
    EXPECT_EQ(lines(), (Lines{"ptsize of -30 not possible, using ptsize 30\n", "NULL text not possible, measuring nothing\n"}));
}

}  // namespace
