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

using namespace zp;

extern "C" {

int WINAPI GetSystemMetrics(int index) {
    int w = 0, h = 0;
    presenter_screen_size(&w, &h);
    switch (index) {
        case SM_CXSCREEN: return w;
        case SM_CYSCREEN: return h;
        default: return 0;
    }
}

HDC WINAPI GetDC(HWND window) {
    if (window) return nullptr;  // window DCs arrive with the window manager
    return create_surface_dc(&screen_surface(), nullptr);
}

int WINAPI ReleaseDC(HWND, HDC dc) {
    DC* d = lookup_dc(dc);
    if (!d || d->memory) return 0;
    DeleteObject(dc);
    return 1;
}

}  // extern "C"
