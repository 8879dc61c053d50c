// The headless presenter's controls, for tests: a virtual clock, injected input, an idle
// hook that plays the person, and PNG dumps.
#ifndef ZORVE_PLATFORM_HEADLESS_H
#define ZORVE_PLATFORM_HEADLESS_H

#include <cstdint>
#include <functional>
#include <stdexcept>

#include "../presenter.h"

namespace zp::headless {

// Screen size of the virtual display (1024 x 768 unless set before first use).
void set_screen_size(int width, int height);

// The virtual clock: timers fire only when a test advances it.
int64_t now_ms();
void advance_clock(int64_t ms);

// Called whenever the program waits for input with nothing queued. It plays the
// person: looks at the screen, injects input, advances the clock. If it adds no input
// and no time passes that could bring a timer message, the wait throws Stuck instead
// of hanging. Without a hook (a program's own headless run) time jumps to the next
// timer, and a wait that nothing could end answers an open dialog or closes the
// program's windows.
using IdleHook = std::function<void()>;
void set_idle_hook(IdleHook hook);
struct Stuck : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// How many times the program has waited (for tests of the wait itself).
int64_t idle_calls();

// Input, in client coordinates of the window. Each call queues what a person's action
// produces: a click is button down and up; a key is key down and up.
void click(HWND window, int x, int y);
// A mouse button (1 left, 2 right, 3 middle) pressed or let go, and the mouse moved,
// separately: a drag is a press, moves and a release.
void button_down(HWND window, int button, int x, int y);
void button_up(HWND window, int button, int x, int y);
void move_mouse(HWND window, int x, int y);
void key_down(HWND window, int virtual_key);
void key_up(HWND window, int virtual_key);
void press_key(HWND window, int virtual_key);
// Ctrl held while the key is pressed: Ctrl down, key down, key up, Ctrl up.
void press_ctrl_key(HWND window, int virtual_key);
// Types text: letters, digits and space by their keys, other characters as key-downs
// carrying the character.
void type_text(HWND window, const char* text);
void menu_command(HWND window, unsigned id);
void close_window(HWND window);
// The window gains or loses the keyboard focus, as when the person switches programs.
void focus(HWND window, bool gained);

// Writes the pixels a DC (or a window's client area) shows as an RGB PNG.
bool save_png(HDC dc, const char* path);
bool save_window_png(HWND window, const char* path);

}  // namespace zp::headless

#endif
