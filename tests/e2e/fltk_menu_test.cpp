// Menu bars of the desktop presenter: a Win32 menu read and turned into FLTK's array.
#include <gtest/gtest.h>

#include "platform/display/fltk_menu.h"
#include "platform/win32.h"

using zp::fltk::build_fltk_menu;
using zp::fltk::MENU_LABEL;
using zp::fltk::MenuEntry;
using zp::fltk::menu_item_id;
using zp::fltk::read_menu;

namespace {

void on_pick(Fl_Widget*, void*) {}

// A bar like the runtime's: one popup with commands, separators, a check mark and
// greyed lines.
std::vector<MenuEntry> run_menu_entries() {
    return {
        {0, MF_POPUP, 0, "&Run"},
        {1, MF_STRING, 1, "&Animate\tCtrl+A"},
        {1, MF_STRING, 2, "&Halt animation\tCtrl+H"},
        {1, MF_SEPARATOR, 0, ""},
        {1, MF_CHECKED, 4, "&Logging\tCtrl+L"},
        {1, MF_SEPARATOR, 0, ""},
        {1, MF_STRING, 8, "&Quit\tCtrl+Q"},
        {1, MF_SEPARATOR, 0, ""},
        {1, MF_GRAYED, 9, "v2.2 someone@example"},
    };
}

}  // namespace

TEST(FltkMenu, RunMenuBecomesOneSubmenuWithDividersChecksAndGreying) {
    auto menu = build_fltk_menu(run_menu_entries(), on_pick);
    const std::vector<Fl_Menu_Item>& items = menu->items;
    // Run, five items, the submenu's end, the bar's end.
    ASSERT_EQ(items.size(), 8u);
    EXPECT_STREQ(items[0].label(), "&Run");
    EXPECT_TRUE(items[0].submenu());
    EXPECT_STREQ(items[1].label(), "&Animate\tCtrl+A");
    EXPECT_EQ(menu_item_id(items[1]), 1u);
    EXPECT_EQ(items[1].flags, 0);
    EXPECT_EQ(items[2].flags, FL_MENU_DIVIDER);  // the separator after Halt
    EXPECT_EQ(menu_item_id(items[3]), 4u);
    EXPECT_EQ(items[3].flags, FL_MENU_TOGGLE | FL_MENU_VALUE | FL_MENU_DIVIDER);
    EXPECT_TRUE(items[3].value());
    EXPECT_EQ(menu_item_id(items[4]), 8u);
    EXPECT_EQ(items[4].flags, FL_MENU_DIVIDER);
    EXPECT_EQ(items[5].flags, FL_MENU_INACTIVE);
    EXPECT_FALSE(items[5].active());
    EXPECT_EQ(items[6].label(), nullptr);
    EXPECT_EQ(items[7].label(), nullptr);
    // FLTK's own walk agrees: the submenu holds exactly the five items.
    EXPECT_EQ(items[0].size(), 8);
    EXPECT_EQ(items[1].size(), 6);
}

TEST(FltkMenu, NoItemHasAnFltkShortcutSoCtrlKeysActOnlyOnce) {
    auto menu = build_fltk_menu(run_menu_entries(), on_pick);
    for (const Fl_Menu_Item& item : menu->items) {
        EXPECT_EQ(item.shortcut(), 0) << (item.label() ? item.label() : "(end)");
        if (item.label()) {
            EXPECT_EQ(item.labeltype(), MENU_LABEL);
        }
    }
}

TEST(FltkMenu, CommandsCarryTheCallbackAndPopupsDoNot) {
    auto menu = build_fltk_menu(run_menu_entries(), on_pick);
    EXPECT_EQ(menu->items[0].callback(), nullptr);
    for (size_t i = 1; i <= 5; ++i) EXPECT_EQ(menu->items[i].callback(), &on_pick);
}

TEST(FltkMenu, SeveralAndNestedPopupsEndWhereTheyShould) {
    std::vector<MenuEntry> entries = {
        {0, MF_POPUP, 0, "&File"},
        {1, MF_SEPARATOR, 0, ""},  // nothing above it to mark
        {1, MF_STRING, 10, "&Open"},
        {1, MF_POPUP, 0, "&Recent"},
        {2, MF_STRING, 11, "one"},
        {0, MF_POPUP, 0, "&Run"},
        {1, MF_STRING, 1, "&Animate"},
        {0, MF_STRING, 7, "&Help"},  // a command right on the bar
    };
    auto menu = build_fltk_menu(entries, on_pick);
    const Fl_Menu_Item* bar = menu->items.data();
    const Fl_Menu_Item* run = bar->next(1);
    const Fl_Menu_Item* help = bar->next(2);
    ASSERT_NE(run->label(), nullptr);
    EXPECT_STREQ(run->label(), "&Run");
    ASSERT_NE(help->label(), nullptr);
    EXPECT_STREQ(help->label(), "&Help");
    EXPECT_EQ(menu_item_id(*help), 7u);
    EXPECT_EQ(bar->next(3)->label(), nullptr);  // the bar ends after Help
    EXPECT_EQ(bar[1].flags, 0);                 // the leading separator marked nothing
    const Fl_Menu_Item* recent = bar[1].next(1);
    EXPECT_STREQ(recent->label(), "&Recent");
    EXPECT_TRUE(recent->submenu());
    EXPECT_STREQ(recent[1].label(), "one");
    EXPECT_EQ(recent[2].label(), nullptr);
}

TEST(FltkMenu, ReadsAWin32MenuTreeInOrder) {
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 1, "&Animate\tCtrl+A");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING | MF_CHECKED, 4, "&Logging\tCtrl+L");
    AppendMenuA(popup, MF_STRING | MF_GRAYED, 9, "info");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Run");
    CheckMenuItem(popup, 4, MF_BYCOMMAND | MF_UNCHECKED);

    std::vector<MenuEntry> entries = read_menu(bar);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].depth, 0);
    EXPECT_TRUE(entries[0].flags & MF_POPUP);
    EXPECT_EQ(entries[0].text, "&Run");
    EXPECT_EQ(entries[1].depth, 1);
    EXPECT_EQ(entries[1].id, 1u);
    EXPECT_EQ(entries[1].text, "&Animate\tCtrl+A");
    EXPECT_TRUE(entries[2].flags & MF_SEPARATOR);
    EXPECT_EQ(entries[3].id, 4u);
    EXPECT_FALSE(entries[3].flags & MF_CHECKED);  // the check mark as it is now
    EXPECT_TRUE(entries[4].flags & MF_GRAYED);
    EXPECT_TRUE(read_menu(nullptr).empty());
    DestroyMenu(bar);
}
