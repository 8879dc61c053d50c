// The console window: every runtime message is one scrolling line, and the last 25
// lines are kept in movable blocks to repaint from.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime.h"

namespace {

// The line height of the console's font, as one line scrolls the window.
int console_line_height(HDC dc) {
    // Zeroed: a failed call leaves the metrics unwritten, and they are read anyway.
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

// Draws `count` new lines at the bottom of the console exactly as `count` one-line
// scrolls would leave it: what stood there moves up by `count` line heights in one
// scroll, and each new line, oldest first, gets its strip cleared and its text drawn
// at the place where its own scrolls would have taken it. `text(i)` is line i, or
// nullptr for a line no longer kept, which lies wholly above the window.
template <class Text>
void draw_new_lines(int count, Text text) {
    if (!runtime.console_window || count <= 0) return;
    HDC dc = GetDC(runtime.console_window);
    HGDIOBJ previous_font = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    const long long h = console_line_height(dc);
    RECT client = {0, 0, 0, 0};
    GetClientRect(runtime.console_window, &client);
    const long long height = client.bottom - client.top;
    if (h * count < height) ScrollDC(dc, 0, static_cast<int>(-h * count), nullptr, nullptr, nullptr, nullptr);
    HBRUSH background = CreateSolidBrush(GetBkColor(dc));
    HGDIOBJ previous_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ previous_brush = SelectObject(dc, background);
    for (int i = 0; i < count; ++i) {
        const long long top = client.bottom - h * (count - i);
        if (top + h <= client.top) continue;  // scrolled out of the window by now
        Rectangle(dc, client.left, static_cast<int>(top), client.right, static_cast<int>(top + h + 1));
        const char* line = text(i);
        if (!line) continue;
        // One trailing newline is not drawn; any other stays in the text.
        int n = static_cast<int>(std::strlen(line));
        if (n > 0 && line[n - 1] == '\n') --n;
        TextOutA(dc, client.left + 5, static_cast<int>(top), line, n);
    }
    SelectObject(dc, previous_pen);
    SelectObject(dc, previous_brush);
    DeleteObject(background);
    SelectObject(dc, previous_font);
    ReleaseDC(runtime.console_window, dc);
}

constexpr int UNDRAWN_LINES = CONSOLE_RECENT_LINES - CONSOLE_RING_LINES;

// Copies a line that leaves the ring before the window drew it, to draw it yet.
void keep_undrawn(HGLOBAL block) {
    char* slot = runtime.console_undrawn[runtime.console_undrawn_next];
    const char* text = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    std::snprintf(slot, CONSOLE_BUFFER_SIZE, "%s", text ? text : "");
    if (text) GlobalUnlock(block);
    runtime.console_undrawn_next = (runtime.console_undrawn_next + 1) % UNDRAWN_LINES;
}

}  // namespace

int console_kept_lines() {
    if (runtime.oldest_line < 0) return 0;
    const int count = (runtime.next_line - runtime.oldest_line + CONSOLE_RING_LINES) % CONSOLE_RING_LINES;
    return count == 0 ? CONSOLE_RING_LINES : count;
}

HGLOBAL console_kept_line(int k) { return runtime.line_ring[(runtime.oldest_line + k) % CONSOLE_RING_LINES]; }

void console_flush() {
    const int pending = runtime.console_pending;
    if (pending == 0) return;
    // The newest pending lines are the ring's last ones; older ones left it meanwhile.
    const int kept = console_kept_lines();
    const int in_ring = pending < kept ? pending : kept;
    const char* ring_text[CONSOLE_RING_LINES];
    for (int k = 0; k < in_ring; ++k) {
        HGLOBAL block = console_kept_line(kept - in_ring + k);
        ring_text[k] = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    }
    draw_new_lines(pending, [&](int i) -> const char* {
        const int back = pending - i;  // 1: the newest
        if (back <= in_ring) return ring_text[in_ring - back];
        const int older = back - in_ring;  // 1: the newest that left the ring
        if (older > UNDRAWN_LINES) return nullptr;
        return runtime.console_undrawn[(runtime.console_undrawn_next - older + UNDRAWN_LINES) % UNDRAWN_LINES];
    });
    for (int k = 0; k < in_ring; ++k)
        if (ring_text[k]) GlobalUnlock(console_kept_line(kept - in_ring + k));
    runtime.console_pending = 0;
}

int format_line(char (&buffer)[CONSOLE_BUFFER_SIZE], const char* format, va_list args) {
    // Bounded: a text longer than the buffer is cut, never overruns it.
    int produced = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (produced < 0) {
        buffer[0] = '\0';
        produced = 0;
    }
    return produced;
}

size_t console_store(const char* buffer) {
    const size_t n = std::strlen(buffer);
    if (runtime.oldest_line == runtime.next_line) {
        // The window draws pending lines at the next wait: one it has not drawn yet is
        // kept until then.
        if (runtime.console_pending >= CONSOLE_RING_LINES) keep_undrawn(runtime.line_ring[runtime.oldest_line]);
        GlobalFree(runtime.line_ring[runtime.oldest_line]);
        runtime.oldest_line = (runtime.oldest_line + 1) % CONSOLE_RING_LINES;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n + 1);
    runtime.line_ring[runtime.next_line] = block;
    if (block) {
        std::memcpy(GlobalLock(block), buffer, n + 1);
        GlobalUnlock(block);
    }
    if (runtime.oldest_line == -1) runtime.oldest_line = runtime.next_line;
    runtime.next_line = (runtime.next_line + 1) % CONSOLE_RING_LINES;
    ++runtime.run.console_lines;
    if (runtime.console_tap) runtime.console_tap(buffer);
    // The window shows the line when the program next waits: a frame that logs
    // thousands of lines scrolls the window once, not once per line.
    if (runtime.console_window) {
        if (block) {
            ++runtime.console_pending;
        } else {
            // Without memory the line is not kept, but still shown: now, after the lines
            // before it.
            console_flush();
            draw_new_lines(1, [buffer](int) { return buffer; });
        }
    }
    return n;
}

extern "C" int ZORVE_console_printf(const char* format, ...) {
    if (!format) {
        ZORVE_console_printf("NULL format not possible, printing nothing\n");
        return 0;
    }
    char buffer[CONSOLE_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    const int produced = format_line(buffer, format, args);
    va_end(args);
    const size_t n = console_store(buffer);
    if (runtime.headless_run) {
        // Nobody sees the window: the line goes to standard output too, one line each.
        std::fputs(buffer, stdout);
        if (n == 0 || buffer[n - 1] != '\n') std::fputc('\n', stdout);
    }
    return produced;
}

// Replays the kept lines, oldest first, as if each scrolled the window by one line.
static void console_repaint(HWND window) {
    // Lines not yet drawn go first, as if each had been drawn when printed: the erase
    // then clears them with the rest, and the replay draws them once. After the erase
    // they would stand above the replay as well.
    console_flush();
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    const int count = console_kept_lines();
    std::vector<const char*> texts(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) texts[size_t(k)] = static_cast<const char*>(GlobalLock(console_kept_line(k)));
    draw_new_lines(count, [&texts](int k) { return texts[size_t(k)]; });
    for (int k = 0; k < count; ++k) GlobalUnlock(console_kept_line(k));
    EndPaint(window, &paint);
}

LRESULT CALLBACK console_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            console_repaint(window);
            return 0;
        case WM_KILLFOCUS:
            focus_leaving(reinterpret_cast<HWND>(wparam));
            return 0;
        case WM_CLOSE:
            // Closing only hides it: the next message worth showing shows it again.
            ShowWindow(window, SW_HIDE);
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

ShownName shown_name(const char* name) {
    std::string escaped;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name ? name : ""); *p; ++p) {
        switch (*p) {
            case '\n': escaped += "\\n"; break;
            case '\r': escaped += "\\r"; break;
            case '\t': escaped += "\\t"; break;
            default:
                if (*p < 0x20 || *p == 0x7F) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02X", *p);
                    escaped += hex;
                } else {
                    escaped += static_cast<char>(*p);
                }
        }
    }
    if (escaped.size() > size_t(SHOWN_NAME_CHARS)) {
        const size_t keep = (SHOWN_NAME_CHARS - 3) / 2;
        escaped = escaped.substr(0, keep) + "..." + escaped.substr(escaped.size() - keep);
    }
    ShownName shown;
    std::snprintf(shown.text, sizeof shown.text, "%s", escaped.c_str());
    return shown;
}
