// Headless presenter: no screen, everything a test needs to drive and look.
#include "headless.h"

#include "presenter.h"

namespace zp {

namespace {
int screen_width = 1024;
int screen_height = 768;
}  // namespace

void presenter_screen_size(int* width, int* height) {
    *width = screen_width;
    *height = screen_height;
}

namespace headless {
void set_screen_size(int width, int height) {
    screen_width = width;
    screen_height = height;
}
}  // namespace headless

}  // namespace zp
