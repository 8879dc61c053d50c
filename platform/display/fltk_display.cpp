// Opening the X display. Kept apart from the Win32 headers: Xlib's names (Bool,
// Status, None) would collide with theirs.
#include "fltk_display.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdio>
#include <cstdlib>

namespace zp::fltk {

void open_display() {
    if (fl_display) return;
    // Opened here rather than by FLTK, whose failure message would come first and
    // differ from platform to platform.
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = XDisplayName(nullptr);
        std::fprintf(stderr, "cannot open display: %s\n",
                     name && *name ? name : "DISPLAY is not set");
        std::exit(1);
    }
    fl_open_display(display);
}

}  // namespace zp::fltk
