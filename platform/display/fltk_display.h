// The desktop presenter's connection to the X display.
#ifndef ZORVE_PLATFORM_FLTK_DISPLAY_H
#define ZORVE_PLATFORM_FLTK_DISPLAY_H

namespace zp::fltk {

// Opens the display named by DISPLAY for FLTK. When there is none, says so on stderr
// ("cannot open display: NAME") and exits with status 1: a desktop program has no
// use running blind.
void open_display();

}  // namespace zp::fltk

#endif
