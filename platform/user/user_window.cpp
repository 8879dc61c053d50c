// Window classes and windows: creation with its messages, showing, geometry, painting
// and destruction.
#include <algorithm>
#include <cstring>
#include <map>
#include <strings.h>

#include "../presenter.h"
#include "user.h"

namespace zp {

namespace {

// Wine's default non-client metrics.
constexpr int CAPTION = 19;
constexpr int DIALOG_FRAME = 3;
constexpr int SIZING_FRAME = 4;

// Everything the window layer keeps.
struct Registry {
    std::vector<std::unique_ptr<WindowClass>> classes;
    std::map<uintptr_t, std::unique_ptr<Window>> windows;
    uintptr_t next_handle = 0x10010;
    // The one icon and the one cursor every load returns: only their addresses are used.
    int icon = 0, cursor = 0;
};

Registry& registry() {
    // Never destroyed: handles stay valid until the process is gone, exit handlers
    // included, as Win32's do.
    static Registry& r = *new Registry;
    return r;
}

const WindowClass* find_class(const char* name) {
    for (auto& c : registry().classes)
        if (strcasecmp(c->name.c_str(), name) == 0) return c.get();
    return nullptr;
}

bool is_top_level(const Window& w) { return !(w.style & WS_CHILD); }

void notify(Window& w) {
    if (is_top_level(w)) presenter().window_changed(w.handle);
}

// Applies the outer size (and menu) to the client surface, sending WM_SIZE on change.
void update_client(Window& w, bool force_size_message) {
    int cw = 0, ch = 0;
    client_size_of(w, &cw, &ch);
    bool changed = cw != w.surface.width || ch != w.surface.height;
    if (changed) w.surface.resize(cw, ch);
    if (changed || force_size_message) send(w, WM_SIZE, 0, MAKELPARAM(cw, ch));
}

}  // namespace

Window* find_window(HWND handle) {
    auto& windows = registry().windows;
    auto it = windows.find(reinterpret_cast<uintptr_t>(handle));
    return (it == windows.end() || it->second->destroying) ? nullptr : it->second.get();
}

void client_size_of(const Window& w, int* cw, int* ch) {
    int frame = 0;
    if (w.style & WS_THICKFRAME)
        frame = SIZING_FRAME;
    else if ((w.style & WS_CAPTION) || (w.style & WS_DLGFRAME))
        frame = DIALOG_FRAME;
    else if (w.style & WS_BORDER)
        frame = 1;
    int top = frame + (((w.style & WS_CAPTION) == WS_CAPTION) ? CAPTION : 0);
    if (w.menu && is_top_level(w)) top += MENU_BAR_HEIGHT;
    *cw = std::max(0, w.width - 2 * frame);
    *ch = std::max(0, w.height - top - frame);
}

LRESULT send(Window& w, UINT message, WPARAM wparam, LPARAM lparam) {
    return w.proc ? w.proc(w.handle, message, wparam, lparam) : 0;
}

bool window_view(HWND handle, WindowView* view) {
    Window* w = find_window(handle);
    if (!w) return false;
    view->client = {w->surface.pixels, w->surface.width, w->surface.height, w->surface.stride};
    view->title = w->title;
    view->x = w->x;
    view->y = w->y;
    view->outer_width = w->width;
    view->outer_height = w->height;
    view->client_width = w->surface.width;
    view->client_height = w->surface.height;
    view->visible = w->visible;
    view->menu = is_top_level(*w) ? w->menu : nullptr;
    view->dialog = is_dialog_class(*w->window_class);
    view->icon_big = icon_pixels(w->icon_big);
    view->icon_small = icon_pixels(w->icon_small);
    return true;
}

void for_each_window(void (*f)(Window&)) {
    for (auto& [key, w] : registry().windows)
        if (!w->destroying) f(*w);
}

Window* find_window_if(bool (*test)(const Window&, const void*), const void* context) {
    for (auto& [key, w] : registry().windows)
        if (!w->destroying && test(*w, context)) return w.get();
    return nullptr;
}

std::vector<Window*> children_of(HWND parent) {
    std::vector<Window*> result;
    for (auto& [key, w] : registry().windows)
        if (!w->destroying && w->parent == parent && (w->style & WS_CHILD)) result.push_back(w.get());
    return result;
}

std::vector<ControlView> window_controls(HWND parent) {
    std::vector<ControlView> result;
    for (Window* w : children_of(parent)) {
        ControlView c;
        c.handle = w->handle;
        c.class_name = w->window_class->name;
        c.text = w->title;
        c.style = w->style;
        c.id = static_cast<int>(reinterpret_cast<uintptr_t>(w->menu));
        c.x = w->x;
        c.y = w->y;
        c.width = w->width;
        c.height = w->height;
        result.push_back(c);
    }
    return result;
}

std::vector<HWND> top_level_windows() {
    std::vector<HWND> result;
    for (auto& [key, w] : registry().windows)
        if (!w->destroying && is_top_level(*w)) result.push_back(w->handle);
    return result;
}

}  // namespace zp

using namespace zp;

extern "C" {

ATOM WINAPI RegisterClassA(const WNDCLASSA* description) {
    if (!description || !description->lpszClassName || find_class(description->lpszClassName))
        return 0;
    auto c = std::make_unique<WindowClass>();
    c->name = description->lpszClassName;
    c->style = description->style;
    c->proc = description->lpfnWndProc;
    c->background = description->hbrBackground;
    registry().classes.push_back(std::move(c));
    return static_cast<ATOM>(0xC000 + registry().classes.size());
}

BOOL WINAPI UnregisterClassA(LPCSTR class_name, HINSTANCE) {
    auto& classes = registry().classes;
    const WindowClass* c = class_name ? find_class(class_name) : nullptr;
    if (!c) return FALSE;
    for (auto& [key, w] : registry().windows)
        if (!w->destroying && w->window_class == c) return FALSE;  // still in use
    // As in Win32, the class's background brush goes with it (stock brushes stay).
    if (c->background) DeleteObject(c->background);
    classes.erase(std::find_if(classes.begin(), classes.end(),
                               [c](const std::unique_ptr<WindowClass>& k) { return k.get() == c; }));
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu, HINSTANCE,
                            LPVOID param) {
    const WindowClass* c = class_name ? find_class(class_name) : nullptr;
    if (!c) return nullptr;
    if (parent && !find_window(parent)) return nullptr;
    auto owned = std::make_unique<Window>();
    Window& w = *owned;
    Registry& r = registry();
    w.handle = reinterpret_cast<HWND>(r.next_handle);
    r.next_handle += 4;
    w.window_class = c;
    w.proc = c->proc;
    w.parent = parent;
    w.title = title ? title : "";
    w.style = style & ~WS_VISIBLE;
    w.ex_style = ex_style;
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = 640;
        height = 480;
    }
    w.x = x;
    w.y = y;
    w.width = std::max(0, width);
    w.height = std::max(0, height);
    if (style & WS_CHILD) w.menu = menu;  // a child's "menu" is its control id
    int cw = 0, ch = 0;
    client_size_of(w, &cw, &ch);
    w.surface.resize(cw, ch);
    r.windows[reinterpret_cast<uintptr_t>(w.handle)] = std::move(owned);

    HWND handle = w.handle;
    if (!(style & WS_CHILD) && menu) SetMenu(handle, menu);
    if (!find_window(handle)) return nullptr;
    if (send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(param)) == 0 ||
        send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(param)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    Window* alive = find_window(handle);
    if (!alive) return nullptr;
    update_client(*alive, true);
    send(*alive, WM_MOVE, 0, MAKELPARAM(alive->x, alive->y));
    notify(*alive);
    if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* w = find_window(handle);
    if (!w) return FALSE;
    // Children first, as Win32 does after the parent's WM_DESTROY.
    send(*w, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    for (auto& [key, other] : registry().windows)
        if (other->parent == handle && !other->destroying) children.push_back(other->handle);
    for (HWND child : children) DestroyWindow(child);
    if (!find_window(handle)) return TRUE;
    send(*w, WM_NCDESTROY, 0, 0);
    if (is_top_level(*w)) presenter().window_destroyed(handle);
    // A top-level window's menu bar goes with it, as in Win32.
    if (is_top_level(*w) && w->menu) DestroyMenu(w->menu);
    w->destroying = true;
    forget_window_messages(handle);
    detach_surface_dcs(&w->surface);
    registry().windows.erase(reinterpret_cast<uintptr_t>(handle));
    return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) { return find_window(handle) != nullptr; }

BOOL WINAPI IsWindowVisible(HWND handle) {
    Window* w = find_window(handle);
    return w && w->visible;
}

BOOL WINAPI ShowWindow(HWND handle, int command) {
    Window* w = find_window(handle);
    if (!w) return FALSE;
    BOOL was_visible = w->visible;
    bool show = command != SW_HIDE;
    if (show != w->visible) {
        w->visible = show;
        if (show) InvalidateRect(handle, nullptr, TRUE);
        notify(*w);
    }
    return was_visible;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
    Window* w = find_window(handle);
    if (!w || !rect) return FALSE;
    *rect = {0, 0, w->surface.width, w->surface.height};
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    Window* w = find_window(handle);
    if (!w) return FALSE;
    const RECT whole = {0, 0, w->surface.width, w->surface.height};
    const RECT r = rect_clip(rect ? *rect : whole, whole.right, whole.bottom);
    if (rect_empty(r)) return TRUE;
    w->invalid_rect = w->invalid ? rect_union(w->invalid_rect, r) : r;
    w->invalid = true;
    if (erase) w->erase = true;
    return TRUE;
}

HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
    Window* w = find_window(handle);
    if (!w || !paint) return nullptr;
    std::memset(paint, 0, sizeof *paint);
    HDC dc = create_surface_dc(&w->surface);
    paint->hdc = dc;
    paint->rcPaint = w->invalid ? w->invalid_rect : RECT{0, 0, 0, 0};
    bool erase = w->erase;
    w->invalid = false;
    w->erase = false;
    paint->fErase = TRUE;
    if (erase) paint->fErase = send(*w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    return dc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (paint && paint->hdc) DeleteObject(paint->hdc);
    return TRUE;
}

HWND WINAPI FindWindowA(LPCSTR class_name, LPCSTR title) {
    for (auto& [key, w] : registry().windows) {
        if (w->destroying || !is_top_level(*w)) continue;
        if (class_name && strcasecmp(w->window_class->name.c_str(), class_name) != 0) continue;
        if (title && w->title != title) continue;
        return w->handle;
    }
    return nullptr;
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) {
    return reinterpret_cast<HICON>(&registry().icon);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) {
    return reinterpret_cast<HCURSOR>(&registry().cursor);
}

HDC WINAPI GetDC(HWND handle) {
    if (!handle) return create_surface_dc(&screen_surface());
    Window* w = find_window(handle);
    return w ? create_surface_dc(&w->surface) : nullptr;
}

int WINAPI ReleaseDC(HWND, HDC dc) {
    DC* d = lookup_dc(dc);
    if (!d || d->memory) return 0;
    DeleteObject(dc);
    return 1;
}

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* w = find_window(handle);
    if (!w) return 0;
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(handle);
            return 0;
        case WM_SYSCOMMAND:
            if ((wparam & 0xFFF0) == SC_CLOSE) send(*w, WM_CLOSE, 0, 0);
            return 0;
        case WM_SETICON: {
            // The window keeps the icon and returns the one it had.
            HICON& slot = wparam == ICON_BIG ? w->icon_big : w->icon_small;
            HICON previous = slot;
            slot = reinterpret_cast<HICON>(lparam);
            if (slot != previous) notify(*w);
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(handle, &ps);
            EndPaint(handle, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            HBRUSH brush = w->window_class->background;
            if (!brush) return 0;
            HDC dc = reinterpret_cast<HDC>(wparam);
            HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
            HGDIOBJ old_brush = SelectObject(dc, brush);
            // A null pen leaves out the right column and bottom row: + 1 covers them.
            Rectangle(dc, 0, 0, w->surface.width + 1, w->surface.height + 1);
            SelectObject(dc, old_brush);
            SelectObject(dc, old_pen);
            return 1;
        }
        default:
            return 0;
    }
}

}  // extern "C"
