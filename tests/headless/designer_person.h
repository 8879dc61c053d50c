// A person at the card designer, played by the headless presenter's idle hook: the
// designer runs its real main loop, and each time it waits with nothing to do the
// person looks at the window and takes the next action of a script.
#ifndef ZORVE_TESTS_DESIGNER_PERSON_H
#define ZORVE_TESTS_DESIGNER_PERSON_H

#include <functional>
#include <string>
#include <vector>

#include "designer.h"
#include "panel.h"
#include "platform/display/headless.h"
#include "runtime_fixture.h"

namespace person {

namespace hl = zp::headless;

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF GREEN = RGB(0, 255, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF TURQUOISE = RGB(153, 255, 204);
constexpr COLORREF ORANGE = RGB(255, 102, 0);
constexpr COLORREF GRAY50 = RGB(128, 128, 128);
constexpr COLORREF GRAY20 = RGB(204, 204, 204);

// What the graphics window shows at a runtime point.
inline COLORREF screen_at(int x, int y) {
    const zt::Snapshot s = zt::snapshot();
    HDC dc = GetDC(s.graphics_window);
    const COLORREF c = GetPixel(dc, s.origin_x + x, s.origin_y - y);
    ReleaseDC(s.graphics_window, dc);
    return c;
}

// Whether any point of the box (inclusive, runtime coordinates) shows the colour.
inline bool screen_has(int left, int bottom, int right, int top, COLORREF color) {
    const zt::Snapshot s = zt::snapshot();
    HDC dc = GetDC(s.graphics_window);
    bool found = false;
    for (int y = bottom; y <= top && !found; ++y)
        for (int x = left; x <= right && !found; ++x)
            found = GetPixel(dc, s.origin_x + x, s.origin_y - y) == color;
    ReleaseDC(s.graphics_window, dc);
    return found;
}

// How a button looks on the screen: 'P' pressed (flat, no highlight), 'd' disabled
// (gray label), 'p' plain (highlight and black label).
inline char button_look(int button) {
    const int top = button_tops[button], bottom = top - BUTTON_HEIGHT;
    if (screen_at(BUTTON_LEFT + 5, top - 1) == GRAY20) return 'P';
    // The label area, clear of the bevel's shadow lines.
    if (screen_has(BUTTON_LEFT + 3, bottom + 4, BUTTON_RIGHT - 4, top - 3, BLACK)) return 'p';
    if (screen_has(BUTTON_LEFT + 3, bottom + 4, BUTTON_RIGHT - 4, top - 3, GRAY50)) return 'd';
    return '?';
}

// The seven looks, top button first.
inline std::string panel_looks() {
    std::string looks;
    for (int b = 0; b < PANEL_BUTTONS; ++b) looks += button_look(b);
    return looks;
}

// A point in the middle of a button, to click on.
inline int button_middle_y(int button) { return button_tops[button] - BUTTON_HEIGHT / 2; }
constexpr int BUTTON_X = (BUTTON_LEFT + BUTTON_RIGHT) / 2;

// A script of actions, one per wait of the designer. Checks run when the designer next
// waits, that is, on the frame drawn after the action before them.
class Script {
public:
    void check(std::function<void()> f) { steps_.push_back({false, std::move(f)}); }
    void action(std::function<void()> f) { steps_.push_back({true, std::move(f)}); }

    // A left click at a runtime point.
    void click(int x, int y) {
        action([x, y] {
            const zt::Snapshot s = zt::snapshot();
            hl::click(s.graphics_window, s.origin_x + x, s.origin_y - y);
        });
    }
    void click_button(int button) { click(BUTTON_X, button_middle_y(button)); }
    // One timer tick: the running animation draws the next frame.
    void tick() { action([] { hl::advance_clock(ANIMATION_PERIOD_MS); }); }
    void ctrl_key(char letter) { action([letter] { hl::press_ctrl_key(zt::snapshot().graphics_window, letter); }); }
    void type(const char* text) { action([text] { hl::type_text(zt::snapshot().graphics_window, text); }); }

    // Runs the designer with this script; after the last step the person quits from
    // the menu. Returns designer_main's result.
    int run() {
        // The designer starts the runtime itself, as a new process would; the test still
        // reads the console.
        const ConsoleTap tap = zt::snapshot().console_tap;
        runtime_reset();
        zt::set_console_tap(tap);
        hl::set_idle_hook([this] { step(); });
        static char command_line[] = "";
        const int result = designer_main(nullptr, nullptr, command_line, SW_SHOWNORMAL);
        hl::set_idle_hook(nullptr);
        EXPECT_EQ(next_, steps_.size()) << "the designer stopped before the script ended";
        return result;
    }

    size_t waits() const { return waits_; }

private:
    struct Step {
        bool is_action;
        std::function<void()> run;
    };

    void step() {
        ++waits_;
        while (next_ < steps_.size()) {
            Step& s = steps_[next_++];
            s.run();
            if (s.is_action) return;
        }
        if (quit_sent_) {
            ADD_FAILURE() << "the designer waits again after the quit";
            hl::advance_clock(ANIMATION_PERIOD_MS);
            return;
        }
        quit_sent_ = true;
        hl::menu_command(zt::snapshot().graphics_window, MENU_QUIT);
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    size_t waits_ = 0;
    bool quit_sent_ = false;
};

// Each test starts the designer afresh: the windows of an earlier runtime in this
// process are closed first, and the designer's own are closed afterwards.
class Designer : public ::testing::Test {
protected:
    void SetUp() override {
        close_runtime_windows();
        zt::reset_switches();
        zt::set_console_tap(fixture::record_line);
        fixture::console_lines().clear();
    }
    void TearDown() override {
        hl::set_idle_hook(nullptr);
        close_runtime_windows();
        zt::set_logging_quietly(false);
        zt::set_console_tap(nullptr);
    }
    static std::vector<std::string>& lines() { return fixture::console_lines(); }

private:
    static void close_runtime_windows() {
        const HWND graphics = zt::snapshot().graphics_window;
        if (graphics && IsWindow(graphics)) DestroyWindow(graphics);
        const HWND console = zt::snapshot().console_window;
        if (console && IsWindow(console)) DestroyWindow(console);
        fixture::drain_messages();  // the quit message the destroyed window posted
    }
};

}  // namespace person

#endif
