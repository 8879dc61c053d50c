// The screen and what shows it: the presenter the program runs on, the screen's
// metrics and device context, and the changed pixels of windows handed to the
// presenter.
#include "../presenter.h"
#include "user.h"

namespace zp {

const Presenter& presenter() {
    static const Presenter& chosen = choose_presenter();
    return chosen;
}

Surface& screen_surface() {
    static Surface* screen = [] {
        int w = 0, h = 0;
        presenter().screen_size(&w, &h);
        return new Surface(w, h);
    }();
    return *screen;
}

void flush_drawn_windows() {
    // GDI marks what it draws on a window's client surface; the presenter hears of it
    // here, once per batch of drawing, before the program next looks for input.
    for_each_window([](Window& w) {
        if ((w.style & WS_CHILD) || w.surface.damage.left >= w.surface.damage.right) return;
        const RECT changed = w.surface.take_damage();
        presenter().window_drawn(w.handle, changed);
    });
}

bool dc_pixels(HDC handle, Pixels* pixels) {
    const DC* dc = lookup_dc(handle);
    if (!dc || !dc->surface || !pixels) return false;
    const Surface& s = *dc->surface;
    *pixels = {s.pixels, s.width, s.height, s.stride};
    return true;
}

}  // namespace zp

using namespace zp;

extern "C" int WINAPI GetSystemMetrics(int index) {
    int w = 0, h = 0;
    presenter().screen_size(&w, &h);
    switch (index) {
        case SM_CXSCREEN: return w;
        case SM_CYSCREEN: return h;
        default: return 0;
    }
}
