// The integer scale the desktop presenter shows windows at, for high-density screens.
//
// Only what reaches the screen is scaled: every window keeps its size, position and
// client pixels in the platform's units, and input is divided back into them, so a
// program sees the same canvas and the same events at every scale.
#ifndef ZORVE_PLATFORM_FLTK_SCALE_H
#define ZORVE_PLATFORM_FLTK_SCALE_H

#include <string>

namespace zp::fltk {

constexpr int MAX_SCALE = 4;

// The scale the settings ask for, each null when not set:
//  - ZORVE_SCALE, a whole number from 1 to MAX_SCALE, decides when set; any other value
//    is refused with a line in `warning` and gives 1;
//  - else GDK_SCALE, the desktop's own whole-number scale (at most MAX_SCALE);
//  - else the screen's density as the desktop tells programs (the X resource Xft.dpi):
//    144 dots per inch or more (one and a half times the usual 96) gives dpi / 96
//    rounded down, at least 2 and at most MAX_SCALE; anything else 1.
int choose_scale(const char* zorve_scale, const char* gdk_scale, const char* xft_dpi, std::string* warning);

// The value of resource `name` in an X resource database string ("name:\tvalue" lines,
// as XResourceManagerString gives it), or "" when it has none.
std::string x_resource(const char* database, const std::string& name);

// This run's scale, decided when first asked (the display open), from the environment
// and the display's resources; a refused ZORVE_SCALE is reported on stderr then.
int window_scale();

// A position or size in the platform's units on the screen, and back. Division rounds
// down, so that a point left of or above a window stays outside it.
inline int to_screen(int v) { return v * window_scale(); }
inline int from_screen(int v) {
    const int s = window_scale();
    return v >= 0 ? v / s : -((-v + s - 1) / s);
}

}  // namespace zp::fltk

#endif
