// The web presenter: every top-level window as a frame of the page in a browser, its
// client area a <canvas>, its menu bar HTML, a modal dialog an HTML <dialog> with real
// fields and buttons. The page side is web_*.js; this file hands it window descriptions
// and changed pixels, and takes the person's input from its queue.
//
// The page's handlers only queue input and never call into the program: the program
// takes the queue when it looks for input (poll), and a wait suspends the program
// (Asyncify) until input arrives or the timeout ends, so that the browser runs
// meanwhile and a waiting page uses no processor time.
#include <emscripten.h>

#include <cstdint>
#include <string>

#include "../presenter.h"
#include "presenters.h"
#include "web_describe.h"

namespace zp {

namespace {

// The virtual screen, as the headless presenter has it: the console window, a third of
// the screen high across its width, looks the same in the page as in a headless run.
constexpr int SCREEN_WIDTH = 1024;
constexpr int SCREEN_HEIGHT = 768;
// Longest control text a person can type into a field at once.
constexpr int INPUT_TEXT_SIZE = 4096;

// What the page's queue holds, as web_input.js numbers it.
enum InputKind {
    INPUT_NONE = 0,
    INPUT_MOUSE = 1,    // a: message, b: x, c: y
    INPUT_KEY = 2,      // a: message, b: virtual key, c: typed character (0: none)
    INPUT_COMMAND = 3,  // a: menu item id
    INPUT_CLOSE = 4,
    INPUT_TEXT = 5,     // the window is an edit control; its new text follows
    INPUT_FOCUS = 6     // a: 1 gained, 0 lost
};

// Returns whether the page took the window's frame anew (created or resized), so that
// all of its pixels are to be shown.
EM_JS(int, web_window_changed, (const char* description), {
    return ZorveWeb.windowChanged(JSON.parse(UTF8ToString(description))) ? 1 : 0;
});

EM_JS(void, web_window_destroyed, (uintptr_t handle), { ZorveWeb.windowDestroyed(handle); });

EM_JS(void, web_present, (uintptr_t handle, const uint32_t* pixels, int stride, int x, int y,
                          int width, int height),
      { ZorveWeb.present(handle, pixels, stride, x, y, width, height); });

// Takes the oldest queued input into record[0..4] (kind, window, a, b, c) and, for a
// text, `text`; returns 0 when the queue is empty.
EM_JS(int, web_take_input, (int32_t* record, char* text, int text_size),
      { return ZorveWeb.takeInput(record, text, text_size); });

EM_ASYNC_JS(void, web_wait, (double timeout_ms), { await ZorveWeb.wait(timeout_ms); });

HWND window_of(int32_t value) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<uint32_t>(value))); }

void show_all(HWND window) {
    WindowView view;
    if (!window_view(window, &view) || !view.client.data) return;
    web_present(reinterpret_cast<uintptr_t>(window), view.client.data, view.client.stride, 0, 0,
                view.client.width, view.client.height);
}

void screen_size(int* width, int* height) {
    *width = SCREEN_WIDTH;
    *height = SCREEN_HEIGHT;
}

void window_changed(HWND window) {
    WindowView view;
    if (!window_view(window, &view)) return;
    if (web_window_changed(web::describe_window(window, view).c_str()) && !view.dialog) show_all(window);
}

void window_destroyed(HWND window) { web_window_destroyed(reinterpret_cast<uintptr_t>(window)); }

void window_drawn(HWND window, const RECT& changed) {
    WindowView view;
    if (!window_view(window, &view) || view.dialog || !view.client.data) return;
    const RECT r = rect_clip(changed, view.client.width, view.client.height);
    if (rect_empty(r)) return;
    web_present(reinterpret_cast<uintptr_t>(window), view.client.data, view.client.stride, r.left, r.top,
                r.right - r.left, r.bottom - r.top);
}

void poll() {
    int32_t record[5];
    static char text[INPUT_TEXT_SIZE];
    while (web_take_input(record, text, INPUT_TEXT_SIZE)) {
        HWND window = window_of(record[1]);
        switch (record[0]) {
            case INPUT_MOUSE: {
                // The page follows a drag past the canvas; the window hears of it only
                // while it holds the mouse capture, as on Win32.
                WindowView view;
                const bool inside = window_view(window, &view) && record[3] >= 0 && record[4] >= 0 &&
                                    record[3] < view.client_width && record[4] < view.client_height;
                if (inside || mouse_capture() == window)
                    input_mouse(window, static_cast<UINT>(record[2]), record[3], record[4]);
                break;
            }
            case INPUT_KEY:
                input_key(window, static_cast<UINT>(record[2]), record[3], record[4]);
                break;
            case INPUT_COMMAND:
                input_menu_command(window, static_cast<UINT>(record[2]));
                break;
            case INPUT_CLOSE:
                input_close(window);
                break;
            case INPUT_TEXT:
                input_set_text(window, text);
                break;
            case INPUT_FOCUS:
                input_focus(window, record[2] != 0);
                break;
            default:
                break;
        }
    }
}

void wait(int64_t timeout_ms) {
    web_wait(static_cast<double>(timeout_ms));
    poll();
}

int64_t now_ms() { return static_cast<int64_t>(emscripten_get_now()); }

}  // namespace

const Presenter web_presenter = {"web", true, screen_size, window_changed,
                                 window_destroyed, window_drawn, poll, wait, now_ms};

}  // namespace zp
