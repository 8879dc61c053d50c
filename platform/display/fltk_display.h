// The desktop presenter's connection to the X display.
#ifndef ZORVE_PLATFORM_FLTK_DISPLAY_H
#define ZORVE_PLATFORM_FLTK_DISPLAY_H

#include <cstdint>
#include <string>

namespace zp::fltk {

// Opens the display named by DISPLAY for FLTK. When there is none, false with the
// reason: "cannot open display: NAME".
bool open_display(std::string* why);

// Inside a window's draw(): shows `w` x `h` pixels (0x00RRGGBB words, rows `stride`
// words apart) at (x, y) of the window, straight from where they are, when the display
// takes 32-bit true-colour pixels in this layout. False when it does not; the caller
// then goes through FLTK's image conversion.
bool put_pixels(const uint32_t* pixels, int stride, int x, int y, int w, int h);

}  // namespace zp::fltk

#endif
