// The console window: every runtime message is one scrolling line, and the last 25
// lines are kept in movable blocks to repaint from.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "runtime.h"

void console_put_line(char* text) {
    if (!runtime.console_window) return;  // before the runtime starts, lines are only kept
    HDC dc = GetDC(runtime.console_window);
    HGDIOBJ previous_font = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    const int h = metrics.tmHeight + metrics.tmExternalLeading;
    ScrollDC(dc, 0, -h, nullptr, nullptr, nullptr, nullptr);
    RECT client = {0, 0, 0, 0};
    GetClientRect(runtime.console_window, &client);
    HBRUSH background = CreateSolidBrush(GetBkColor(dc));
    HGDIOBJ previous_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ previous_brush = SelectObject(dc, background);
    Rectangle(dc, client.left, client.bottom - h, client.right, client.bottom + 1);
    SelectObject(dc, previous_pen);
    SelectObject(dc, previous_brush);
    DeleteObject(background);
    int n = static_cast<int>(std::strlen(text));
    if (n > 0 && text[n - 1] == '\n') text[--n] = '\0';
    TextOutA(dc, client.left + 5, client.bottom - h, text, n);
    SelectObject(dc, previous_font);
    ReleaseDC(runtime.console_window, dc);
}

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
    const size_t n = std::strlen(buffer);
    if (runtime.oldest_line == runtime.next_line) {
        GlobalFree(runtime.line_ring[runtime.oldest_line]);
        runtime.oldest_line = (runtime.oldest_line + 1) % CONSOLE_RING_LINES;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n + 1);
    runtime.line_ring[runtime.next_line] = block;
    if (block) {  // without memory the line is shown but not kept
        std::memcpy(GlobalLock(block), buffer, n + 1);
        GlobalUnlock(block);
    }
    if (runtime.oldest_line == -1) runtime.oldest_line = runtime.next_line;
    runtime.next_line = (runtime.next_line + 1) % CONSOLE_RING_LINES;
    if (runtime.console_tap) runtime.console_tap(buffer);
    console_put_line(buffer);
    return produced;
}

// Replays the stored lines, oldest first, each scrolling the window by one line.
static void console_repaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    int count = 0;
    for (int i = runtime.oldest_line; i >= 0 && !(i == runtime.next_line && count > 0);
         i = (i + 1) % CONSOLE_RING_LINES, ++count) {
        char* text = static_cast<char*>(GlobalLock(runtime.line_ring[i]));
        if (text) console_put_line(text);
        GlobalUnlock(runtime.line_ring[i]);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK console_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            console_repaint(window);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            // Keys typed here act in the graphics window.
            PostMessageA(runtime.graphics_window, message, wparam, lparam);
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}

void console_show(int flag) { ShowWindow(runtime.console_window, flag ? SW_SHOW : SW_HIDE); }
