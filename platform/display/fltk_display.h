// The desktop presenter's connection to the X display.
#ifndef ZORVE_PLATFORM_FLTK_DISPLAY_H
#define ZORVE_PLATFORM_FLTK_DISPLAY_H

#include <cstdint>
#include <string>

class Fl_Window;

namespace zp::fltk {

// Opens the display named by DISPLAY for FLTK. When there is none, false with the
// reason: "cannot open display: NAME".
bool open_display(std::string* why);

// Inside a window's draw(): shows `w` x `h` pixels (0x00RRGGBB words, rows `stride`
// words apart) at (x, y) of the window, straight from where they are, when the display
// takes 32-bit true-colour pixels in this layout. False when it does not; the caller
// then goes through FLTK's image conversion.
bool put_pixels(const uint32_t* pixels, int stride, int x, int y, int w, int h);

// Gives a window just shown the keyboard when no window manager will: without one, X
// leaves the keyboard where it was, and what the person types goes elsewhere.
void take_keyboard(const Fl_Window* window);

}  // namespace zp::fltk

#endif
