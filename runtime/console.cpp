// The console's formatted output: every runtime message is one line, and the last 25
// lines are kept in movable blocks.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "runtime.h"

int logging_flag = 1;
ConsoleTap console_tap = nullptr;

namespace {
HGLOBAL line_ring[CONSOLE_RING_LINES];
int oldest_line = -1;
int next_line = 0;
}  // namespace

extern "C" int ZORVE_console_printf(const char* format, ...) {
    char buffer[CONSOLE_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    // Bounded: a line longer than the buffer is cut, never overruns it.
    int produced = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (produced < 0) {
        buffer[0] = '\0';
        produced = 0;
    }
    size_t n = std::strlen(buffer);
    if (oldest_line == next_line) {
        GlobalFree(line_ring[oldest_line]);
        oldest_line = (oldest_line + 1) % CONSOLE_RING_LINES;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n + 1);
    line_ring[next_line] = block;
    if (block) {
        std::memcpy(GlobalLock(block), buffer, n + 1);
        GlobalUnlock(block);
    }
    if (oldest_line == -1) oldest_line = next_line;
    next_line = (next_line + 1) % CONSOLE_RING_LINES;
    if (console_tap) console_tap(buffer);
    return produced;
}

LRESULT CALLBACK console_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
            // Keys typed here act in the graphics window.
            PostMessageA(graphics_window, message, wparam, lparam);
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}

void console_show(int flag) { ShowWindow(console_window, flag ? SW_SHOW : SW_HIDE); }
