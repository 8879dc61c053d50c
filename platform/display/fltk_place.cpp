// Title, place and visibility of the desktop presenter's windows and dialogs.
#include "fltk_place.h"

#include "fltk_text.h"

namespace zp::fltk {

void show_title(Fl_Window& window, const std::string& title) {
    const std::string shown = utf8_of_latin1(title);
    if (!window.label() || shown != window.label()) window.copy_label(shown.c_str());
}

bool place(Fl_Window& window, Placement& placement, int x, int y, int width, int height) {
    if (x == placement.x && y == placement.y && width == window.w() && height == window.h())
        return false;
    placement.x = x;
    placement.y = y;
    window.resize(x, y, width, height);
    window.size_range(width, height, width, height);
    return true;
}

bool show_placed(Fl_Window& window, const Placement& placement, bool visible) {
    if (visible && !window.shown()) {
        // Shown again after hiding: at the platform's position, not where the window
        // manager last put the client area inside its frame.
        window.position(placement.x, placement.y);
        window.show();
        return true;
    }
    if (!visible && window.shown()) window.hide();
    return false;
}

}  // namespace zp::fltk
