// Window texts: a top-level window's title, a control's text.
#include <algorithm>
#include <cstring>

#include "user.h"

using namespace zp;

extern "C" {

int WINAPI GetWindowTextA(HWND window, LPSTR text, int max_count) {
    Window* w = find_window(window);
    if (!w || !text || max_count <= 0) return 0;
    const size_t n = std::min(w->title.size(), static_cast<size_t>(max_count - 1));
    std::memcpy(text, w->title.data(), n);
    text[n] = '\0';
    return static_cast<int>(n);
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    Window* w = find_window(window);
    if (!w) return FALSE;
    w->title = text ? text : "";
    // A control's text is shown by its top-level window.
    Window* top = w;
    while (top && (top->style & WS_CHILD)) top = find_window(top->parent);
    if (top) presenter().window_changed(top->handle);
    return TRUE;
}

}  // extern "C"
