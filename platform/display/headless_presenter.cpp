// The headless presenter: no screen. Time is a virtual clock that only tests move, and
// a wait with nothing queued runs the test's idle hook, which plays the person.
#include "../presenter.h"
#include "headless.h"

namespace zp {
namespace {

int screen_width = 1024;
int screen_height = 768;
int64_t clock_ms = 0;
int64_t idle_count = 0;
headless::IdleHook idle_hook;

void screen_size(int* width, int* height) {
    *width = screen_width;
    *height = screen_height;
}

void window_changed(HWND) {}
void window_destroyed(HWND) {}
void window_drawn(HWND, const RECT&) {}
void poll() {}
int64_t now_ms() { return clock_ms; }

void wait(int64_t) {
    ++idle_count;
    const int64_t before = clock_ms;
    if (idle_hook) idle_hook();
    // Time that passed counts as progress while a timer may come due after more of it.
    const bool time_helps = clock_ms != before && timers_running();
    if (!messages_available() && !time_helps)
        throw headless::Stuck(
            "headless: the program waits for input, but nothing can arrive (no queued "
            "message, no due timer, and the idle hook added no input and let no time pass)");
}

}  // namespace

extern const Presenter headless_presenter;
const Presenter headless_presenter = {"headless", screen_size, window_changed, window_destroyed,
                                      window_drawn, poll, wait, now_ms};

namespace headless {

void set_screen_size(int width, int height) {
    screen_width = width;
    screen_height = height;
}

int64_t now_ms() { return clock_ms; }
void advance_clock(int64_t ms) { clock_ms += ms; }
void set_idle_hook(IdleHook hook) { idle_hook = std::move(hook); }
int64_t idle_calls() { return idle_count; }

}  // namespace headless
}  // namespace zp
