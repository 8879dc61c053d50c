// Inside of the USER subset: window classes, windows, menus and the message queue.
#ifndef ZORVE_PLATFORM_USER_H
#define ZORVE_PLATFORM_USER_H

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "../gdi/gdi.h"
#include "../presenter.h"

namespace zp {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
};

struct Window {
    HWND handle = nullptr;
    const WindowClass* window_class = nullptr;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;
    std::string title;
    DWORD style = 0;
    DWORD ex_style = 0;
    int x = 0, y = 0, width = 0, height = 0;  // outer rectangle
    bool visible = false;
    bool enabled = true;
    bool destroying = false;
    HMENU menu = nullptr;  // menu bar (top-level) or control id (child)
    HICON icon_big = nullptr, icon_small = nullptr;  // WM_SETICON's
    Surface surface;       // the client area's pixels
    bool invalid = false;  // the update region, kept as one rectangle
    RECT invalid_rect = {0, 0, 0, 0};
    bool erase = false;
    LONG_PTR user_data = 0;
    // Dialogs: the application's procedure and how the dialog ended.
    DLGPROC dialog_proc = nullptr;
    bool dialog_ended = false;
    INT_PTR dialog_result = 0;
};

// Windows by handle; nullptr for a handle that is not (or no longer) a window.
Window* find_window(HWND handle);
// The first live window, in creation order, that the test accepts; without allocating,
// as the message queue asks on every call.
Window* find_window_if(bool (*test)(const Window&, const void*), const void* context);
template <class Test>
Window* find_window_if(const Test& test) {
    return find_window_if(
        [](const Window& w, const void* t) { return (*static_cast<const Test*>(t))(w); }, &test);
}
// Client size for an outer size, from the style and the menu bar (Wine's metrics).
void client_size_of(const Window& w, int* cw, int* ch);
// Sends a message straight to the window procedure.
LRESULT send(Window& w, UINT message, WPARAM wparam, LPARAM lparam);
// Drops the queue's messages and timers of a window being destroyed.
void forget_window_messages(HWND handle);
// A top-level window gains or loses the keyboard focus, as the presenter said (the
// change is made when the program reaches it in the queue, in order with input).
void change_focus(HWND window, bool gained);
// Forgets which keys are held (the focus went to another program, which gets their
// release).
void forget_held_keys();
// The character a key-down types, from the key and the Ctrl and Shift state.
int character_of_key(int virtual_key, bool ctrl, bool shift);
// Called when the menu changes, so presenters can show it again.
void menu_changed(HMENU menu);
// The children of a window, in creation order.
std::vector<Window*> children_of(HWND parent);
// Whether windows of the class are dialogs (Win32's dialog class, "#32770").
bool is_dialog_class(const WindowClass& window_class);
// Registers the classes of the dialog and its controls (once).
void register_control_classes();
// The pixels of an icon that LoadImageA loaded; none for any other handle.
IconPixels icon_pixels(HICON icon);
// Calls f(Window&) for every live window, in creation order.
void for_each_window(void (*f)(Window&));
// The presenter the program runs on, chosen from the offered list when first asked for.
// With none that can run, the person is told why and the program ends with status 1.
const Presenter& presenter();
// The virtual screen that GetDC(NULL) draws on.
Surface& screen_surface();
// Tells the presenter which windows' pixels changed since the last time.
void flush_drawn_windows();

}  // namespace zp

#endif
