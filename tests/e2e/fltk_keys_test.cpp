// Key translation of the desktop presenter: what the program sees for each key.
#include <FL/Enumerations.H>
#include <gtest/gtest.h>

#include "platform/display/fltk_keys.h"
#include "platform/win32.h"

using zp::fltk::typed_character;
using zp::fltk::virtual_key;

TEST(FltkVirtualKey, LettersAndDigitsUseWin32Codes) {
    // FLTK names a letter key by its lower-case symbol, Shift or not.
    EXPECT_EQ(virtual_key('a'), 65);
    EXPECT_EQ(virtual_key('h'), 72);
    EXPECT_EQ(virtual_key('z'), 90);
    EXPECT_EQ(virtual_key('0'), 48);
    EXPECT_EQ(virtual_key('9'), 57);
}

TEST(FltkVirtualKey, ModifiersAndEditingKeys) {
    EXPECT_EQ(virtual_key(FL_Control_L), VK_CONTROL);
    EXPECT_EQ(virtual_key(FL_Control_R), VK_CONTROL);
    EXPECT_EQ(virtual_key(FL_Shift_L), VK_SHIFT);
    EXPECT_EQ(virtual_key(FL_Shift_R), VK_SHIFT);
    EXPECT_EQ(virtual_key(FL_Enter), VK_RETURN);
    EXPECT_EQ(virtual_key(FL_KP_Enter), VK_RETURN);
    EXPECT_EQ(virtual_key(FL_Escape), VK_ESCAPE);
    EXPECT_EQ(virtual_key(FL_BackSpace), VK_BACK);
    EXPECT_EQ(virtual_key(FL_Tab), VK_TAB);
    EXPECT_EQ(virtual_key(' '), VK_SPACE);
    EXPECT_EQ(virtual_key(FL_Delete), VK_DELETE);
    EXPECT_EQ(virtual_key(FL_Left), VK_LEFT);
    EXPECT_EQ(virtual_key(FL_Up), VK_UP);
    EXPECT_EQ(virtual_key(FL_Right), VK_RIGHT);
    EXPECT_EQ(virtual_key(FL_Down), VK_DOWN);
    EXPECT_EQ(virtual_key(FL_Home), 0x24);
    EXPECT_EQ(virtual_key(FL_Page_Down), 0x22);
}

TEST(FltkVirtualKey, FunctionKeypadAndPunctuationKeys) {
    EXPECT_EQ(virtual_key(FL_F + 1), 0x70);
    EXPECT_EQ(virtual_key(FL_F + 12), 0x7B);
    EXPECT_EQ(virtual_key(FL_KP + '0'), 0x60);
    EXPECT_EQ(virtual_key(FL_KP + '9'), 0x69);
    EXPECT_EQ(virtual_key(FL_KP + '*'), 0x6A);
    EXPECT_EQ(virtual_key(FL_KP + '/'), 0x6F);
    EXPECT_EQ(virtual_key(';'), 0xBA);
    EXPECT_EQ(virtual_key('-'), 0xBD);
    EXPECT_EQ(virtual_key('\''), 0xDE);
    EXPECT_NE(virtual_key(0xE9), 0);  // a layout's own letter key (é) still arrives
}

TEST(FltkVirtualKey, AltAndMetaAreLeftToTheMenuAndWindowManager) {
    EXPECT_EQ(virtual_key(FL_Alt_L), 0);
    EXPECT_EQ(virtual_key(FL_Alt_R), 0);
    EXPECT_EQ(virtual_key(FL_Meta_L), 0);
    EXPECT_EQ(virtual_key(FL_Button + 1), 0);
}

TEST(FltkTypedCharacter, PrintableAsciiAndLatin1) {
    EXPECT_EQ(typed_character("a", 1), 'a');
    EXPECT_EQ(typed_character("A", 1), 'A');
    EXPECT_EQ(typed_character(" ", 1), ' ');
    EXPECT_EQ(typed_character("~", 1), '~');
    EXPECT_EQ(typed_character("\xC3\xA9", 2), 0xE9);  // é in UTF-8
    EXPECT_EQ(typed_character("\xC2\xA0", 2), 0xA0);  // no-break space
}

TEST(FltkTypedCharacter, NothingForControlCharactersAndBeyondLatin1) {
    // Ctrl+A, Enter, Escape, Backspace: the platform derives these from the key.
    EXPECT_EQ(typed_character("\x01", 1), 0);
    EXPECT_EQ(typed_character("\r", 1), 0);
    EXPECT_EQ(typed_character("\x1b", 1), 0);
    EXPECT_EQ(typed_character("\x7f", 1), 0);
    EXPECT_EQ(typed_character("\xC2\x85", 2), 0);      // a C1 control
    EXPECT_EQ(typed_character("\xE2\x82\xAC", 3), 0);  // the euro sign
    EXPECT_EQ(typed_character("ab", 2), 0);            // a compose result of two
    EXPECT_EQ(typed_character("", 0), 0);
    EXPECT_EQ(typed_character(nullptr, 0), 0);
}
