// Menu bars of the desktop presenter: a window's Win32 menu as an FLTK menu array.
#ifndef ZORVE_PLATFORM_FLTK_MENU_H
#define ZORVE_PLATFORM_FLTK_MENU_H

#include <FL/Fl_Menu_Item.H>

#include <memory>
#include <string>
#include <vector>

#include "../presenter.h"

namespace zp::fltk {

// One item of a menu tree in display order: a popup's items follow it one level deeper.
struct MenuEntry {
    int depth = 0;
    UINT flags = 0;  // MF_SEPARATOR, MF_POPUP, MF_CHECKED, MF_GRAYED, MF_DISABLED
    UINT id = 0;
    std::string text;  // "&Label\tShortcut text"
    bool operator==(const MenuEntry&) const = default;
};

// The menu bar `menu` and its popups, read through menu_items().
std::vector<MenuEntry> read_menu(HMENU menu);

// An FLTK menu array and the strings it points into. Separators become dividers under
// the item before them, check marks checked toggle items, greyed items inactive ones.
// Command items carry `callback` with their id as user data; no item has an FLTK
// shortcut, so the Ctrl shortcuts act only through the window's key messages.
struct FltkMenu {
    std::vector<MenuEntry> entries;
    std::vector<Fl_Menu_Item> items;
};
std::unique_ptr<FltkMenu> build_fltk_menu(std::vector<MenuEntry> entries, Fl_Callback* callback);

// The command id a menu item carries.
UINT menu_item_id(const Fl_Menu_Item& item);

// The label type of menu items: draws the text before a tab at the left and the text
// after it (the shortcut text) at the right, with '&' mnemonics and without FLTK's '@'
// symbols, since menu texts are plain text. Registered when the display opens.
constexpr Fl_Labeltype MENU_LABEL = FL_FREE_LABELTYPE;
void register_menu_label_type();

}  // namespace zp::fltk

#endif
