// The headless presenter: no screen. Time is a virtual clock that only tests move, and
// a wait with nothing queued runs the test's idle hook, which plays the person.
#include <cstdio>
#include <cstdlib>

#include "../presenter.h"
#include "headless.h"
#include "presenters.h"

namespace zp {
namespace {

// How long a program's own run may wait through timer ticks alone, showing nothing new,
// before it counts as waiting for input that will never come.
constexpr int64_t IDLE_LIMIT_MS = 60000;

// Everything the presenter keeps; a new process starts with these values.
struct HeadlessState {
    int screen_width = 1024;
    int screen_height = 768;
    int64_t clock_ms = 0;
    int64_t idle_count = 0;
    int64_t last_change_ms = 0;  // when a window last showed something new
    headless::IdleHook idle_hook;
};
HeadlessState state;

void screen_size(int* width, int* height) {
    *width = state.screen_width;
    *height = state.screen_height;
}

void window_changed(HWND) {}
void window_destroyed(HWND) {}
void window_drawn(HWND, const RECT&) { state.last_change_ms = state.clock_ms; }
void poll() {}
int64_t now_ms() { return state.clock_ms; }

// An open dialog is answered with Enter, as a person who has nothing to type would.
bool answer_open_dialog() {
    for (HWND w : top_level_windows()) {
        WindowView view;
        if (window_view(w, &view) && view.visible && view.dialog) {
            input_key(w, WM_KEYDOWN, VK_RETURN);
            input_key(w, WM_KEYUP, VK_RETURN);
            return true;
        }
    }
    return false;
}

// Nothing can ever come: as a person would, close the program's windows (the program
// hears it as it hears its window closed).
void end_the_wait() {
    std::vector<HWND> windows = top_level_windows();
    if (windows.empty()) {
        std::fprintf(stderr, "headless: the program waits again after its windows were closed; ending it\n");
        std::exit(1);
    }
    for (HWND w : windows) input_close(w);
}

void wait(int64_t timeout_ms) {
    ++state.idle_count;
    if (!state.idle_hook) {
        // A program's own run: nobody is there to type into a dialog, and time goes
        // straight to the next timer, nothing else being able to happen meanwhile,
        // until a long stretch of ticks has shown nothing new.
        if (answer_open_dialog()) return;
        if (timeout_ms >= 0 && state.clock_ms - state.last_change_ms < IDLE_LIMIT_MS) {
            state.clock_ms += timeout_ms;
        } else {
            state.last_change_ms = state.clock_ms;
            end_the_wait();
        }
        return;
    }
    const int64_t before = state.clock_ms;
    state.idle_hook();
    // Time that passed counts as progress while a timer may come due after more of it.
    const bool time_helps = state.clock_ms != before && timers_running();
    if (!messages_available() && !time_helps)
        throw headless::Stuck(
            "headless: the program waits for input, but nothing can arrive (no queued "
            "message, no due timer, and the idle hook added no input and let no time pass)");
}

}  // namespace

const Presenter headless_presenter = {"headless", false, screen_size, window_changed,
                                      window_destroyed, window_drawn, poll, wait, now_ms};

namespace headless {

void set_screen_size(int width, int height) {
    state.screen_width = width;
    state.screen_height = height;
}

int64_t now_ms() { return state.clock_ms; }
void advance_clock(int64_t ms) { state.clock_ms += ms; }
void set_idle_hook(IdleHook hook) { state.idle_hook = std::move(hook); }
int64_t idle_calls() { return state.idle_count; }

}  // namespace headless
}  // namespace zp
