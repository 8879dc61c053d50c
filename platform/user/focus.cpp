// The keyboard focus, the mouse capture and enabled windows. Focus changes are told to
// both windows as Win32 tells them: WM_KILLFOCUS to the one losing it, then
// WM_SETFOCUS to the other.
#include "user.h"

namespace zp {
namespace {

// Which window has the keyboard focus and which holds the mouse capture, if any.
struct FocusState {
    HWND focus_window = nullptr;
    HWND capture_window = nullptr;
};
FocusState state;

bool within(HWND window, HWND ancestor) {
    for (Window* w = find_window(window); w; w = find_window(w->parent))
        if (w->handle == ancestor) return true;
    return false;
}

}  // namespace

HWND focused_control() { return find_window(state.focus_window) ? state.focus_window : nullptr; }
HWND mouse_capture() { return find_window(state.capture_window) ? state.capture_window : nullptr; }

void change_focus(HWND window, bool gained) {
    if (!find_window(window)) return;
    if (gained) {
        if (!within(state.focus_window, window)) SetFocus(window);
    } else {
        // The keys held now go to another program, which gets their release: the
        // program's own idea of them starts again from all released.
        forget_held_keys();
        if (within(state.focus_window, window)) SetFocus(nullptr);
    }
}

}  // namespace zp

using namespace zp;

extern "C" {

HWND WINAPI SetFocus(HWND window) {
    HWND previous = find_window(state.focus_window) ? state.focus_window : nullptr;
    if (window && !find_window(window)) return nullptr;
    if (window == previous) return previous;
    state.focus_window = window;
    if (Window* old = find_window(previous))
        send(*old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (Window* now = find_window(window))
        if (state.focus_window == window) send(*now, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND WINAPI GetFocus(void) { return focused_control(); }

HWND WINAPI SetCapture(HWND window) {
    HWND previous = mouse_capture();
    state.capture_window = find_window(window) ? window : nullptr;
    return previous;
}

BOOL WINAPI ReleaseCapture(void) {
    state.capture_window = nullptr;
    return TRUE;
}

HWND WINAPI GetCapture(void) { return mouse_capture(); }

BOOL WINAPI EnableWindow(HWND window, BOOL enable) {
    Window* w = find_window(window);
    if (!w) return FALSE;
    const BOOL was_disabled = !w->enabled;
    w->enabled = enable != FALSE;
    return was_disabled;
}

BOOL WINAPI IsWindowEnabled(HWND window) {
    Window* w = find_window(window);
    return w && w->enabled;
}

}  // extern "C"
