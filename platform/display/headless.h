// The headless presenter's controls, for tests.
#ifndef ZORVE_PLATFORM_HEADLESS_H
#define ZORVE_PLATFORM_HEADLESS_H

#include "../win32.h"

namespace zp::headless {

// Screen size of the virtual display (1024 x 768 unless set before first use).
void set_screen_size(int width, int height);

// Writes the pixels of the surface a DC draws on as an RGB PNG. False on failure.
bool save_png(HDC dc, const char* path);

}  // namespace zp::headless

#endif
