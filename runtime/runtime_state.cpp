// The runtime's state, and returning it to how a new process has it.
#include "runtime.h"

RuntimeState runtime;

void runtime_reset() {
    RuntimeState& r = runtime;
    animation_abandon();
    script_close();
    session_close();
    if (r.window_dc && !r.stopped) ReleaseDC(r.graphics_window, r.window_dc);
    if (r.canvas_dc) DeleteDC(r.canvas_dc);
    if (r.canvas_bitmap) DeleteObject(r.canvas_bitmap);
    const bool had_windows = r.graphics_window || r.console_window;
    if (r.console_window && IsWindow(r.console_window)) DestroyWindow(r.console_window);
    if (r.graphics_window && IsWindow(r.graphics_window)) DestroyWindow(r.graphics_window);
    if (had_windows) {
        // Closing the graphics window asks the program to quit; that request belongs to
        // the windows just closed, not to whatever starts next.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        // Unregistering a class also deletes its background brush.
        UnregisterClassA("DrawWndClass", r.module_instance);
        UnregisterClassA("TextWndClass", r.module_instance);
    }
    for (HGLOBAL& line : r.line_ring)
        if (line) GlobalFree(line);
    r = RuntimeState{};
}
