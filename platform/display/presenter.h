// The contract between the platform layer and a presenter.
//
// A presenter shows top-level windows' client surfaces (and menu bars) to a person or a
// test, and turns input into calls of platform/user/input.h. The platform calls the
// functions below; exactly one presenter is linked into a program. The headless
// presenter is the reference implementation.
#ifndef ZORVE_PLATFORM_PRESENTER_H
#define ZORVE_PLATFORM_PRESENTER_H

#include <cstdint>

#include "../win32.h"

namespace zp {

// Size of the screen in pixels, as GetSystemMetrics reports it.
void presenter_screen_size(int* width, int* height);

// A top-level window was created, or its visibility, position, size, title or menu
// (items, check marks, greying) changed. Read it with window_view()/menu_items().
void presenter_window_changed(HWND window);
// A top-level window is about to be destroyed; its handle is still valid during the call.
void presenter_window_destroyed(HWND window);
// Pixels of the window's client surface changed (window DCs draw directly into it).
void presenter_window_drawn(HWND window);

// Deliver pending input without blocking.
void presenter_poll();
// Block until input may have arrived or the timeout (milliseconds; < 0: none) elapses.
// Headless: runs the test's idle hook.
void presenter_wait(int64_t timeout_ms);
// Monotonic milliseconds for timers (virtual when headless).
int64_t presenter_now_ms();

}  // namespace zp

#endif
