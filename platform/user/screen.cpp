// The screen: its metrics and its device context.
#include "../display/presenter.h"
#include "../gdi/gdi.h"

namespace zp {

Surface& screen_surface() {
    static Surface* screen = [] {
        int w = 0, h = 0;
        presenter_screen_size(&w, &h);
        return new Surface(w, h);
    }();
    return *screen;
}

}  // namespace zp

