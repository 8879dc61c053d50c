// The headless presenter's input: what a person's actions produce, injected by tests.
#include <cctype>

#include "../presenter.h"
#include "headless.h"

namespace zp::headless {

void click(HWND window, int x, int y) {
    input_mouse(window, WM_LBUTTONDOWN, x, y);
    input_mouse(window, WM_LBUTTONUP, x, y);
}

namespace {
UINT button_message(int button, bool down) {
    switch (button) {
        case 2: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case 3: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        default: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    }
}
}  // namespace

void button_down(HWND window, int button, int x, int y) { input_mouse(window, button_message(button, true), x, y); }
void button_up(HWND window, int button, int x, int y) { input_mouse(window, button_message(button, false), x, y); }
void move_mouse(HWND window, int x, int y) { input_mouse(window, WM_MOUSEMOVE, x, y); }

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
void focus(HWND window, bool gained) { input_focus(window, gained); }

}  // namespace zp::headless
