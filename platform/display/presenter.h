// What a presenter provides to the platform layer. The headless presenter is the
// reference implementation; the desktop presenter shows the same surfaces on screen.
#ifndef ZORVE_PLATFORM_PRESENTER_H
#define ZORVE_PLATFORM_PRESENTER_H

namespace zp {

// Size of the screen in pixels, as GetSystemMetrics reports it.
void presenter_screen_size(int* width, int* height);

}  // namespace zp

#endif
