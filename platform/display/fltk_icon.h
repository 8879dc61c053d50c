// A window's icons on the desktop: X11's _NET_WM_ICON, through FLTK.
#ifndef ZORVE_PLATFORM_FLTK_ICON_H
#define ZORVE_PLATFORM_FLTK_ICON_H

#include <FL/Fl_Window.H>

#include "../presenter.h"

namespace zp::fltk {

// Gives `window` the icons (either may have no pixels; with none, the desktop's
// default). FLTK keeps copies, and updates a window already shown.
void show_icons(Fl_Window* window, const IconPixels& big, const IconPixels& small);

}  // namespace zp::fltk

#endif
