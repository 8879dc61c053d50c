// What a top-level window and a dialog of the desktop presenter both take over from the
// platform: the title, the place and the fixed size, and whether it is shown.
#ifndef ZORVE_PLATFORM_FLTK_PLACE_H
#define ZORVE_PLATFORM_FLTK_PLACE_H

#include <FL/Fl_Window.H>

#include <string>

namespace zp::fltk {

// Where the platform last placed a window. An FLTK window's own x() and y() follow the
// window manager's placement of the client area inside its frame, so comparing with
// them would move the window on every change.
struct Placement {
    int x = -1, y = -1;
};

// Shows the platform's title (Latin-1, as window texts are) in FLTK's UTF-8.
void show_title(Fl_Window& window, const std::string& title);
// Moves and sizes the window as the platform placed it, at a size the person cannot
// change. True when its place or size changed.
bool place(Fl_Window& window, Placement& placement, int x, int y, int width, int height);
// Shows or hides the window. True when it was shown now.
bool show_placed(Fl_Window& window, const Placement& placement, bool visible);

}  // namespace zp::fltk

#endif
