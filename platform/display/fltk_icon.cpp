// A window's icons on the desktop.
#include "fltk_icon.h"

#include <FL/Fl_RGB_Image.H>

#include <memory>
#include <vector>

namespace zp::fltk {

void show_icons(Fl_Window* window, const IconPixels& big, const IconPixels& small) {
    std::vector<std::vector<uchar>> bytes;
    std::vector<std::unique_ptr<Fl_RGB_Image>> images;
    bytes.reserve(2);  // the images point into these
    for (const IconPixels* icon : {&big, &small}) {
        if (!icon->data || icon->width <= 0 || icon->height <= 0) continue;
        std::vector<uchar>& rgba = bytes.emplace_back();
        rgba.reserve(static_cast<size_t>(icon->width) * static_cast<size_t>(icon->height) * 4);
        for (int i = 0; i < icon->width * icon->height; ++i) {
            const uint32_t p = icon->data[i];
            rgba.insert(rgba.end(), {static_cast<uchar>(p >> 16), static_cast<uchar>(p >> 8),
                                     static_cast<uchar>(p), static_cast<uchar>(p >> 24)});
        }
        images.push_back(std::make_unique<Fl_RGB_Image>(rgba.data(), icon->width, icon->height, 4));
    }
    std::vector<const Fl_RGB_Image*> list;
    for (const auto& image : images) list.push_back(image.get());
    window->icons(list.data(), static_cast<int>(list.size()));
}

}  // namespace zp::fltk
