// Headless presenter: no screen; a virtual clock, input injected by tests and an idle
// hook that plays the person.
#include "headless.h"

#include <cctype>

#include "../user/input.h"
#include "presenter.h"

namespace zp {

namespace {
int screen_width = 1024;
int screen_height = 768;
int64_t clock_ms = 0;
int64_t idle_count = 0;
headless::IdleHook idle_hook;
}  // namespace

void presenter_screen_size(int* width, int* height) {
    *width = screen_width;
    *height = screen_height;
}

void presenter_window_changed(HWND) {}
void presenter_window_destroyed(HWND) {}
void presenter_window_drawn(HWND) {}
void presenter_poll() {}
int64_t presenter_now_ms() { return clock_ms; }

void presenter_wait(int64_t) {
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

namespace headless {

void set_screen_size(int width, int height) {
    screen_width = width;
    screen_height = height;
}

int64_t now_ms() { return clock_ms; }
void advance_clock(int64_t ms) { clock_ms += ms; }
void set_idle_hook(IdleHook hook) { idle_hook = std::move(hook); }
int64_t idle_calls() { return idle_count; }

void click(HWND window, int x, int y) {
    input_mouse(window, WM_LBUTTONDOWN, x, y);
    input_mouse(window, WM_LBUTTONUP, x, y);
}

void key_down(HWND window, int virtual_key) { input_key(window, WM_KEYDOWN, virtual_key); }
void key_up(HWND window, int virtual_key) { input_key(window, WM_KEYUP, virtual_key); }

void press_key(HWND window, int virtual_key) {
    key_down(window, virtual_key);
    key_up(window, virtual_key);
}

void press_ctrl_key(HWND window, int virtual_key) {
    key_down(window, VK_CONTROL);
    press_key(window, virtual_key);
    key_up(window, VK_CONTROL);
}

void type_text(HWND window, const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        int c = *p;
        if (std::isalpha(c) && c < 128) {
            bool upper = std::isupper(c);
            if (upper) key_down(window, VK_SHIFT);
            press_key(window, std::toupper(c));
            if (upper) key_up(window, VK_SHIFT);
        } else if ((c >= '0' && c <= '9') || c == ' ') {
            press_key(window, c);
        } else {
            input_key(window, WM_KEYDOWN, 0, c);
            input_key(window, WM_KEYUP, 0);
        }
    }
}

void menu_command(HWND window, unsigned id) { input_menu_command(window, id); }
void close_window(HWND window) { input_close(window); }

bool save_window_png(HWND window, const char* path) {
    HDC dc = GetDC(window);
    if (!dc) return false;
    bool ok = save_png(dc, path);
    ReleaseDC(window, dc);
    return ok;
}

}  // namespace headless

}  // namespace zp
