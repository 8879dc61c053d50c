// Menus: menu bars and popups with string items, separators, check marks and greying.
#include <map>

#include "../presenter.h"
#include "user.h"

namespace zp {

namespace {

struct Menu {
    bool popup = false;
    std::vector<MenuItemView> items;
};

struct Menus {
    std::map<uintptr_t, std::unique_ptr<Menu>> all;
    uintptr_t next_handle = 0x20010;
};

Menus& menus() {
    static Menus& m = *new Menus;  // never destroyed, as the windows that hold menus
    return m;
}

Menu* find_menu(HMENU handle) {
    auto it = menus().all.find(reinterpret_cast<uintptr_t>(handle));
    return it == menus().all.end() ? nullptr : it->second.get();
}

HMENU create(bool popup) {
    auto m = std::make_unique<Menu>();
    m->popup = popup;
    HMENU handle = reinterpret_cast<HMENU>(menus().next_handle);
    menus().next_handle += 4;
    menus().all[reinterpret_cast<uintptr_t>(handle)] = std::move(m);
    return handle;
}

// The first item with the command id, searching popups depth first.
MenuItemView* find_item(Menu& menu, UINT id) {
    for (MenuItemView& item : menu.items) {
        if (item.flags & MF_POPUP) {
            if (Menu* sub = find_menu(item.popup))
                if (MenuItemView* found = find_item(*sub, id)) return found;
        } else if (!(item.flags & MF_SEPARATOR) && item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

MenuItemView* find_by(HMENU handle, UINT id, UINT flags) {
    Menu* menu = find_menu(handle);
    if (!menu) return nullptr;
    if (flags & MF_BYPOSITION) return id < menu->items.size() ? &menu->items[id] : nullptr;
    return find_item(*menu, id);
}

}  // namespace

std::vector<MenuItemView> menu_items(HMENU handle) {
    Menu* menu = find_menu(handle);
    return menu ? menu->items : std::vector<MenuItemView>{};
}

void menu_changed(HMENU) {
    // Menus are few: let every window with a menu bar show its menus again.
    for (HWND h : top_level_windows()) {
        Window* w = find_window(h);
        if (w && w->menu) presenter().window_changed(h);
    }
}

}  // namespace zp

using namespace zp;

extern "C" {

HMENU WINAPI CreateMenu(void) { return create(false); }
HMENU WINAPI CreatePopupMenu(void) { return create(true); }

BOOL WINAPI DestroyMenu(HMENU handle) {
    Menu* menu = find_menu(handle);
    if (!menu) return FALSE;
    std::vector<HMENU> popups;
    for (auto& item : menu->items)
        if (item.flags & MF_POPUP) popups.push_back(item.popup);
    menus().all.erase(reinterpret_cast<uintptr_t>(handle));
    for (HMENU p : popups) DestroyMenu(p);
    return TRUE;
}

BOOL WINAPI AppendMenuA(HMENU handle, UINT flags, UINT_PTR id, LPCSTR text) {
    Menu* menu = find_menu(handle);
    if (!menu) return FALSE;
    MenuItemView item;
    item.flags = flags & (MF_SEPARATOR | MF_POPUP | MF_CHECKED | MF_GRAYED | MF_DISABLED);
    if (flags & MF_POPUP) {
        if (!find_menu(reinterpret_cast<HMENU>(id))) return FALSE;
        item.popup = reinterpret_cast<HMENU>(id);
    } else {
        item.id = static_cast<UINT>(id);
    }
    if (!(flags & MF_SEPARATOR) && text) item.text = text;
    menu->items.push_back(std::move(item));
    menu_changed(handle);
    return TRUE;
}

DWORD WINAPI CheckMenuItem(HMENU handle, UINT id, UINT check) {
    MenuItemView* item = find_by(handle, id, check);
    if (!item) return static_cast<DWORD>(-1);
    DWORD previous = item->flags & MF_CHECKED;
    if (check & MF_CHECKED)
        item->flags |= MF_CHECKED;
    else
        item->flags &= ~static_cast<UINT>(MF_CHECKED);
    if (previous != (item->flags & MF_CHECKED)) menu_changed(handle);
    return previous;
}

UINT WINAPI GetMenuState(HMENU handle, UINT id, UINT flags) {
    MenuItemView* item = find_by(handle, id, flags);
    if (!item) return static_cast<UINT>(-1);
    if (item->flags & MF_POPUP) {
        Menu* sub = find_menu(item->popup);
        UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
        return (count << 8) | (item->flags & 0xFF);
    }
    return item->flags;
}

BOOL WINAPI SetMenu(HWND window, HMENU handle) {
    Window* w = find_window(window);
    if (!w || (w->style & WS_CHILD) || (handle && !find_menu(handle))) return FALSE;
    w->menu = handle;
    int cw = 0, ch = 0;
    client_size_of(*w, &cw, &ch);
    if (cw != w->surface.width || ch != w->surface.height) {
        w->surface.resize(cw, ch);
        send(*w, WM_SIZE, 0, MAKELPARAM(cw, ch));
    }
    presenter().window_changed(window);
    return TRUE;
}

HMENU WINAPI GetMenu(HWND window) {
    Window* w = find_window(window);
    return (w && !(w->style & WS_CHILD)) ? w->menu : nullptr;
}

BOOL WINAPI DrawMenuBar(HWND window) {
    if (!find_window(window)) return FALSE;
    presenter().window_changed(window);
    return TRUE;
}

}  // extern "C"
