// FLTK key symbols (X keysyms) to Win32 virtual-key codes, and typed characters.
#include "fltk_keys.h"

#include <FL/Enumerations.H>

#include "../presenter.h"

namespace zp::fltk {

namespace {

// Win32 codes that platform/win32.h has no name for (the runtime does not use them).
constexpr int VK_PAUSE_CODE = 0x13, VK_CAPITAL_CODE = 0x14, VK_PRIOR_CODE = 0x21,
              VK_NEXT_CODE = 0x22, VK_END_CODE = 0x23, VK_HOME_CODE = 0x24,
              VK_SNAPSHOT_CODE = 0x2C, VK_INSERT_CODE = 0x2D, VK_HELP_CODE = 0x2F,
              VK_APPS_CODE = 0x5D, VK_NUMPAD0_CODE = 0x60, VK_MULTIPLY_CODE = 0x6A,
              VK_F1_CODE = 0x70, VK_NUMLOCK_CODE = 0x90, VK_SCROLL_CODE = 0x91,
              VK_OEM_8_CODE = 0xDF;

// US-layout punctuation keys: their unshifted character and the VK_OEM_* code.
struct OemKey {
    int symbol;
    int code;
};
constexpr OemKey oem_keys[] = {
    {';', 0xBA}, {'=', 0xBB}, {',', 0xBC}, {'-', 0xBD}, {'.', 0xBE}, {'/', 0xBF},
    {'`', 0xC0}, {'[', 0xDB}, {'\\', 0xDC}, {']', 0xDD}, {'\'', 0xDE},
};

}  // namespace

int virtual_key(int key) {
    // FLTK reports letters by their lower-case symbol whatever the Shift state;
    // Win32 names a letter key by its upper-case code.
    if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
    if (key >= '0' && key <= '9') return key;
    if (key == ' ') return VK_SPACE;
    for (const OemKey& k : oem_keys)
        if (k.symbol == key) return k.code;
    if (key >= FL_KP + '0' && key <= FL_KP + '9') return VK_NUMPAD0_CODE + (key - FL_KP - '0');
    if (key >= FL_KP + '*' && key <= FL_KP + '/') return VK_MULTIPLY_CODE + (key - FL_KP - '*');
    if (key > FL_F && key <= FL_F + 24) return VK_F1_CODE + (key - FL_F - 1);
    switch (key) {
        case FL_BackSpace: return VK_BACK;
        case FL_Tab: return VK_TAB;
        case FL_Enter:
        case FL_KP_Enter: return VK_RETURN;
        case FL_Escape: return VK_ESCAPE;
        case FL_Delete: return VK_DELETE;
        case FL_Left: return VK_LEFT;
        case FL_Up: return VK_UP;
        case FL_Right: return VK_RIGHT;
        case FL_Down: return VK_DOWN;
        case FL_Home: return VK_HOME_CODE;
        case FL_End: return VK_END_CODE;
        case FL_Page_Up: return VK_PRIOR_CODE;
        case FL_Page_Down: return VK_NEXT_CODE;
        case FL_Insert: return VK_INSERT_CODE;
        case FL_Pause: return VK_PAUSE_CODE;
        case FL_Print: return VK_SNAPSHOT_CODE;
        case FL_Help: return VK_HELP_CODE;
        case FL_Menu: return VK_APPS_CODE;
        case FL_Scroll_Lock: return VK_SCROLL_CODE;
        case FL_Num_Lock: return VK_NUMLOCK_CODE;
        case FL_Caps_Lock: return VK_CAPITAL_CODE;
        case FL_Shift_L:
        case FL_Shift_R: return VK_SHIFT;
        case FL_Control_L:
        case FL_Control_R: return VK_CONTROL;
        default: break;
    }
    // Other layouts' letter keys (é, ß, ...): Win32 gives them layout-specific OEM
    // codes; one such code is enough for their typed character to arrive.
    if (key >= 0xA0 && key <= 0xFF) return VK_OEM_8_CODE;
    return 0;
}

int typed_character(const char* text, int length) {
    if (!text || length <= 0) return 0;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    int c = 0;
    if (length == 1 && s[0] < 0x80) {
        c = s[0];
    } else if (length == 2 && (s[0] == 0xC2 || s[0] == 0xC3) && (s[1] & 0xC0) == 0x80) {
        c = ((s[0] & 0x1F) << 6) | (s[1] & 0x3F);  // UTF-8 for U+0080..U+00FF
    } else {
        return 0;  // several characters, or beyond Latin-1
    }
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) return 0;
    return c;
}

}  // namespace zp::fltk
