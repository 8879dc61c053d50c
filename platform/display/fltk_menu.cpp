// Menu bars of the desktop presenter: reading a Win32 menu and building FLTK's array.
#include "fltk_menu.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <cstdint>
#include <cstring>

#include "../presenter.h"
#include "fltk_scale.h"

namespace zp::fltk {

namespace {

// Menus nest a level or two; the bound only stops a popup that contains itself.
constexpr int MAX_MENU_DEPTH = 8;
// Space between an item's text and its shortcut text, in the item's font size (24
// pixels at the menu's 12), so that it grows with the scale as the text does.
constexpr int SHORTCUT_GAP_PER_SIZE = 2;
// The space FLTK adds between a popup's items, in pixels whatever the font: at a larger
// scale the items are given the rest of it, so that they grow as their text does.
constexpr int MENU_LEADING = 4;

void append_menu(HMENU menu, int depth, std::vector<MenuEntry>* out) {
    if (depth >= MAX_MENU_DEPTH) return;
    for (const MenuItemView& item : menu_items(menu)) {
        out->push_back({depth, item.flags, item.id, item.text});
        if ((item.flags & MF_POPUP) && item.popup) append_menu(item.popup, depth + 1, out);
    }
}

// The parts of "Text\tShortcut".
struct LabelParts {
    std::string text;
    const char* shortcut;  // empty when there is none
};
LabelParts split_label(const char* label) {
    const char* tab = std::strchr(label, '\t');
    if (!tab) return {label, ""};
    return {std::string(label, tab), tab + 1};
}

void draw_menu_label(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
    if (!label->value) return;
    LabelParts parts = split_label(label->value);
    fl_font(label->font, label->size);
    fl_color(label->color);
    Fl_Align vertical = align & ~(FL_ALIGN_LEFT | FL_ALIGN_RIGHT);
    fl_draw(parts.text.c_str(), x, y, w, h, vertical | FL_ALIGN_LEFT, nullptr, 0);
    if (*parts.shortcut) fl_draw(parts.shortcut, x, y, w, h, vertical | FL_ALIGN_RIGHT, nullptr, 0);
}

void measure_menu_label(const Fl_Label* label, int& w, int& h) {
    w = h = 0;
    if (!label->value) return;
    LabelParts parts = split_label(label->value);
    fl_font(label->font, label->size);
    fl_measure(parts.text.c_str(), w, h, 0);
    if (*parts.shortcut) {
        int sw = 0, sh = 0;
        fl_measure(parts.shortcut, sw, sh, 0);
        w += SHORTCUT_GAP_PER_SIZE * label->size + sw;
        if (sh > h) h = sh;
    }
    h += MENU_LEADING * (window_scale() - 1);
}

}  // namespace

std::vector<MenuEntry> read_menu(HMENU menu) {
    std::vector<MenuEntry> out;
    if (menu) append_menu(menu, 0, &out);
    return out;
}

std::unique_ptr<FltkMenu> build_fltk_menu(std::vector<MenuEntry> entries, Fl_Callback* callback) {
    auto menu = std::make_unique<FltkMenu>();
    menu->entries = std::move(entries);
    std::vector<Fl_Menu_Item>& items = menu->items;
    items.reserve(2 * menu->entries.size() + 1);
    // Per open level, the index of its last item: a separator marks that item.
    std::vector<int> last_item{-1};
    int depth = 0;
    for (const MenuEntry& e : menu->entries) {
        while (depth > e.depth) {
            items.push_back({});  // ends a submenu
            last_item.pop_back();
            --depth;
        }
        if (e.depth > depth) continue;  // items of a popup the reader did not descend into
        if (e.flags & MF_SEPARATOR) {
            if (last_item.back() >= 0) items[static_cast<size_t>(last_item.back())].flags |= FL_MENU_DIVIDER;
            continue;
        }
        Fl_Menu_Item item{};
        item.text = e.text.c_str();
        item.labeltype_ = MENU_LABEL;
        if (e.flags & MF_POPUP) {
            item.flags |= FL_SUBMENU;
        } else {
            item.callback_ = callback;
            item.user_data_ = reinterpret_cast<void*>(static_cast<uintptr_t>(e.id));
        }
        if (e.flags & (MF_GRAYED | MF_DISABLED)) item.flags |= FL_MENU_INACTIVE;
        if (e.flags & MF_CHECKED) item.flags |= FL_MENU_TOGGLE | FL_MENU_VALUE;
        last_item.back() = static_cast<int>(items.size());
        items.push_back(item);
        if (e.flags & MF_POPUP) {
            last_item.push_back(-1);
            ++depth;
        }
    }
    for (; depth > 0; --depth) items.push_back({});
    items.push_back({});  // ends the bar
    return menu;
}

UINT menu_item_id(const Fl_Menu_Item& item) {
    return static_cast<UINT>(reinterpret_cast<uintptr_t>(item.user_data_));
}

void register_menu_label_type() { Fl::set_labeltype(MENU_LABEL, draw_menu_label, measure_menu_label); }

}  // namespace zp::fltk
