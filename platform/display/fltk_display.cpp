// Opening the X display. Kept apart from the Win32 headers: Xlib's names (Bool,
// Status, None) would collide with theirs.
#include "fltk_display.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <X11/Xutil.h>

#include <string>

namespace zp::fltk {

bool open_display(std::string* why) {
    if (fl_display) return true;
    // Opened here rather than by FLTK, which on failure prints a message of its own
    // (differing from platform to platform) and exits.
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = XDisplayName(nullptr);
        *why = std::string("cannot open display: ") + (name && *name ? name : "DISPLAY is not set");
        return false;
    }
    fl_open_display(display);
    return true;
}

namespace {

// Whether the display's visual holds a pixel as our 0x00RRGGBB word does: true colour,
// 8 bits a channel in those places, 32 bits a pixel.
bool same_layout() {
    static const bool same = [] {
        if (!fl_visual || fl_visual->c_class != TrueColor) return false;
        const Visual* v = fl_visual->visual;
        if (v->red_mask != 0xFF0000 || v->green_mask != 0xFF00 || v->blue_mask != 0xFF) return false;
        int count = 0;
        XPixmapFormatValues* formats = XListPixmapFormats(fl_display, &count);
        bool bits32 = false;
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == fl_visual->depth) bits32 = formats[i].bits_per_pixel == 32;
        if (formats) XFree(formats);
        return bits32;
    }();
    return same;
}

}  // namespace

bool put_pixels(const uint32_t* pixels, int stride, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return true;
    if (!same_layout()) return false;
    // An image header over the pixels where they are: nothing is converted or copied on
    // this side; Xlib sends the rows (and swaps bytes if the server wants the other order).
    XImage* image = XCreateImage(fl_display, fl_visual->visual, static_cast<unsigned>(fl_visual->depth),
                                 ZPixmap, 0, reinterpret_cast<char*>(const_cast<uint32_t*>(pixels)),
                                 static_cast<unsigned>(w), static_cast<unsigned>(h), 32, stride * 4);
    if (!image) return false;
    image->byte_order = LSBFirst;  // a 0x00RRGGBB word in memory, on little-endian hosts
    XPutImage(fl_display, fl_window, fl_gc, image, 0, 0, x, y, static_cast<unsigned>(w),
              static_cast<unsigned>(h));
    image->data = nullptr;  // ours, not Xlib's to free
    XDestroyImage(image);
    return true;
}

}  // namespace zp::fltk
