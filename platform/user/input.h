// What presenters call to deliver input, and how they read windows and menus.
#ifndef ZORVE_PLATFORM_USER_INPUT_H
#define ZORVE_PLATFORM_USER_INPUT_H

#include <string>
#include <vector>

#include "../gdi/gdi.h"

namespace zp {

// Mouse messages (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE) at client coordinates.
void input_mouse(HWND window, UINT message, int client_x, int client_y);
// WM_KEYDOWN / WM_KEYUP with a Win32 virtual-key code. For key-down, `character` is the
// character the key types as the presenter knows it (0: let TranslateMessage derive it
// from the key code and the Ctrl and Shift state).
void input_key(HWND window, UINT message, int virtual_key, int character = 0);
// A menu item picked with the mouse: WM_COMMAND with the item's id.
void input_menu_command(HWND window, UINT id);
// The close box: WM_SYSCOMMAND(SC_CLOSE), which default processing turns into WM_CLOSE.
void input_close(HWND window);
// Whether the program could take a message now (posted, input, quit, paint, due timer).
bool messages_available();
// Whether any timer is set, so that letting time pass can bring a message.
bool timers_running();

struct WindowView {
    const Surface* surface = nullptr;  // client area pixels
    std::string title;
    int x = 0, y = 0;                  // outer position on the screen
    int outer_width = 0, outer_height = 0;
    int client_width = 0, client_height = 0;
    bool visible = false;
    HMENU menu = nullptr;              // menu bar, or none
};
bool window_view(HWND window, WindowView* view);
std::vector<HWND> top_level_windows();

struct MenuItemView {
    UINT flags = 0;  // MF_SEPARATOR, MF_POPUP, MF_CHECKED, MF_GRAYED
    UINT id = 0;
    std::string text;  // with '&' mnemonics and "\t" shortcut text, as appended
    HMENU popup = nullptr;
};
std::vector<MenuItemView> menu_items(HMENU menu);

// Child windows (dialog controls) of a window, in creation order.
struct ControlView {
    HWND handle = nullptr;
    std::string class_name;  // "Button", "Edit", "Static"
    std::string text;
    DWORD style = 0;
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;  // in the parent's client coordinates
};
std::vector<ControlView> window_controls(HWND parent);
// The person changed a control's text (an edit field typed into).
void input_set_text(HWND control, const char* text);

}  // namespace zp

#endif
