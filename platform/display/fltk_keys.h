// Keyboard translation for the desktop presenter: FLTK key symbols to Win32
// virtual-key codes, and the character a key press types.
#ifndef ZORVE_PLATFORM_FLTK_KEYS_H
#define ZORVE_PLATFORM_FLTK_KEYS_H

namespace zp::fltk {

// Win32 virtual-key code of an FLTK key symbol (Fl::event_key()); 0 for a key that has
// none, or that the presenter leaves to FLTK and the window manager (Alt, Meta).
int virtual_key(int fl_key);

// The character that a key press typed, from Fl::event_text(): a printable ASCII or
// Latin-1 character, or 0 when the press typed nothing or a control character (the
// platform then derives the character from the key code and the Ctrl and Shift state).
int typed_character(const char* text, int length);

}  // namespace zp::fltk

#endif
