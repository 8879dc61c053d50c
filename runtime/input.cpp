// The extra input, for programs that ask for it: buttons let go, the right and middle
// buttons, the mouse moving, keys by their code and keys let go, returned only by
// ZORVE_wait_input; and the tick period the program chooses.
#include <cstdio>

#include "runtime.h"

namespace {

// A key with no character: its ZORVE_KEY_ code, or 0.
int special_key(WPARAM key) {
    switch (key) {
        case VK_LEFT: return ZORVE_KEY_LEFT;
        case VK_RIGHT: return ZORVE_KEY_RIGHT;
        case VK_UP: return ZORVE_KEY_UP;
        case VK_DOWN: return ZORVE_KEY_DOWN;
        case VK_HOME: return ZORVE_KEY_HOME;
        case VK_END: return ZORVE_KEY_END;
        case VK_PRIOR: return ZORVE_KEY_PAGE_UP;
        case VK_NEXT: return ZORVE_KEY_PAGE_DOWN;
        case VK_INSERT: return ZORVE_KEY_INSERT;
        case VK_DELETE: return ZORVE_KEY_DELETE;
        default:
            if (key >= VK_F1 && key <= VK_F12) return ZORVE_KEY_F1 + static_cast<int>(key - VK_F1);
            return 0;
    }
}

// The button a mouse message is about (1 left, 2 right, 3 middle), or for a move the
// button held (the first of left, right, middle), or 0.
int button_of(UINT message, WPARAM held) {
    switch (message) {
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: return 1;
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: return 2;
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: return 3;
        default:
            if (held & MK_LBUTTON) return 1;
            if (held & MK_RBUTTON) return 2;
            if (held & MK_MBUTTON) return 3;
            return 0;
    }
}

// The event of a wait of ZORVE_wait_input that asks for it; false for any other wait.
bool offer(int kind, int button, int code, int ctrl, int shift) {
    if (!runtime.input_wait || !input_wanted(kind, button)) return false;
    runtime.pending_kind = kind;
    runtime.pending_button = button;
    runtime.pending_code = code;
    runtime.pending_ctrl = ctrl;
    runtime.pending_shift = shift;
    return true;
}

}  // namespace

bool input_wanted(int kind, int button) {
    const int asked = runtime.input_kinds;
    const bool side_button = button == 2 || button == 3;
    switch (kind) {
        case ZORVE_MOUSE: return !side_button || (asked & ZORVE_INPUT_BUTTONS);
        case ZORVE_RELEASE:
            return (asked & ZORVE_INPUT_RELEASE) && (!side_button || (asked & ZORVE_INPUT_BUTTONS));
        case ZORVE_MOTION: return (asked & ZORVE_INPUT_MOTION) || ((asked & ZORVE_INPUT_DRAG) && button != 0);
        case ZORVE_KEY:
        case ZORVE_KEY_RELEASE: return (asked & ZORVE_INPUT_KEYS) != 0;
        default: return true;
    }
}

void input_mouse_message(UINT message, WPARAM wparam, LPARAM lparam) {
    const int button = button_of(message, wparam);
    const int ctrl = (wparam & MK_CONTROL) != 0, shift = (wparam & MK_SHIFT) != 0;
    const bool pressed = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    // A drag that leaves the window still ends in it, as a program that draws while a
    // button is held needs: the window holds the mouse while a button is down.
    if (runtime.input_used) {
        if (pressed)
            SetCapture(runtime.graphics_window);
        else if (message != WM_MOUSEMOVE && !(wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
            ReleaseCapture();
    }
    if (message == WM_LBUTTONDOWN) {
        // The plain click: its kind and position are the base wait's; the extra fields
        // are added for ZORVE_wait_input.
        runtime.pending_button = 1;
        runtime.pending_ctrl = ctrl;
        runtime.pending_shift = shift;
        return;
    }
    int kind = ZORVE_RELEASE;
    if (pressed) kind = ZORVE_MOUSE;
    if (message == WM_MOUSEMOVE) kind = ZORVE_MOTION;
    if (offer(kind, button, 0, ctrl, shift)) {
        runtime.pending_x = GET_X_LPARAM(lparam) - runtime.origin_x;
        runtime.pending_y = runtime.origin_y - GET_Y_LPARAM(lparam);
    }
}

bool input_key_down(WPARAM key) {
    runtime.last_key_down = key;
    if (key == VK_SHIFT) {
        runtime.shift_down = 1;
        return true;
    }
    const int code = special_key(key);
    if (!code) return false;
    if (key < 256) runtime.key_typed[key] = code + 1;
    offer(ZORVE_KEY, 0, code, runtime.ctrl_down, runtime.shift_down);
    return true;
}

void input_character(int character) {
    // What the key just pressed typed, to report when it is let go.
    const WPARAM key = runtime.last_key_down;
    if (key > 0 && key < 256) runtime.key_typed[key] = character + 1;
    runtime.pending_code = character;
    runtime.pending_ctrl = 0;
    runtime.pending_shift = runtime.shift_down;
}

void input_key_up(WPARAM key) {
    if (key == VK_SHIFT) runtime.shift_down = 0;
    if (key >= 256 || !runtime.key_typed[key]) return;  // it gave the program nothing
    const int code = runtime.key_typed[key] - 1;
    runtime.key_typed[key] = 0;
    offer(ZORVE_KEY_RELEASE, 0, code, runtime.ctrl_down, runtime.shift_down);
}

extern "C" {

int ZORVE_wait_input(ZorveInput* input) {
    if (!runtime_started("ZORVE_wait_input")) {
        if (input) *input = ZorveInput{ZORVE_QUIT, 0, 0, 0, 0, 0, 0};
        return ZORVE_QUIT;
    }
    runtime.input_used = true;
    runtime.input_wait = true;
    const int kind = wait_for_event();
    runtime.input_wait = false;
    if (input) {
        ZorveInput in{kind, runtime.pending_x, runtime.pending_y, 0, 0, runtime.pending_ctrl, runtime.pending_shift};
        switch (runtime.pending_kind) {
            case ZORVE_MOUSE:
            case ZORVE_RELEASE:
            case ZORVE_MOTION:
                in.button = runtime.pending_kind == ZORVE_MOUSE && runtime.pending_button == 0 ? 1 : runtime.pending_button;
                break;
            case ZORVE_KBD:
                in.key = static_cast<unsigned char>(runtime.pending_key);
                break;
            case ZORVE_KEY:
            case ZORVE_KEY_RELEASE:
                in.key = runtime.pending_code;
                break;
            default:
                break;
        }
        *input = in;
    }
    return kind;
}

int ZORVE_set_input(int kinds) {
    if (!runtime_started("ZORVE_set_input")) return 0;
    const int before = runtime.input_kinds;
    if (kinds & ~ZORVE_INPUT_ALL) {
        ZORVE_console_printf("Input kinds %d not possible, using %d\n", kinds, kinds & ZORVE_INPUT_ALL);
        kinds &= ZORVE_INPUT_ALL;
    }
    runtime.input_kinds = kinds;
    return before;
}

int ZORVE_set_tick_ms(int ms) {
    if (!runtime_started("ZORVE_set_tick_ms")) return 0;
    const int before = runtime.tick_ms;
    const int corrected = ms < TICK_MS_MIN ? TICK_MS_MIN : (ms > TICK_MS_MAX ? TICK_MS_MAX : ms);
    if (corrected != ms) ZORVE_console_printf("Tick period of %d ms not possible, using %d ms\n", ms, corrected);
    runtime.tick_ms = corrected;
    SetTimer(runtime.graphics_window, ANIMATION_TIMER, static_cast<UINT>(corrected), nullptr);
    return before;
}

}  // extern "C"
