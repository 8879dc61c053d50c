// The headless presenter's pictures: PNG files of what a window or a DC shows, written
// by the codec the runtime writes its pictures with.
#include <string>

#include "../presenter.h"
#include "codec/png_codec.h"
#include "headless.h"

namespace zp::headless {
namespace {

bool write_png(const Pixels& p, const char* path) {
    std::string why;
    return p.data && codec::png_write_file(path, p.data, p.width, p.height, p.stride, &why);
}

}  // namespace

bool save_png(HDC dc, const char* path) {
    Pixels p;
    return dc_pixels(dc, &p) && write_png(p, path);
}

bool save_window_png(HWND window, const char* path) {
    WindowView view;
    return window_view(window, &view) && write_png(view.client, path);
}

}  // namespace zp::headless
