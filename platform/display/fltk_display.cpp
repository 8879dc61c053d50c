// Opening the X display. Kept apart from the Win32 headers: Xlib's names (Bool,
// Status, None) would collide with theirs.
#include "fltk_display.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <X11/Xatom.h>
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

// Whether a window manager that follows the freedesktop conventions runs: it names
// its check window on the root window.
bool window_manager_running() {
    const Atom check = XInternAtom(fl_display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(fl_display, RootWindow(fl_display, fl_screen), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &count, &after, &data);
    const bool found = status == Success && data && count == 1;
    if (data) XFree(data);
    return found;
}

}  // namespace

void take_keyboard(const Fl_Window* window) {
    // A window manager gives a new window the keyboard itself, once it has mapped it.
    if (!fl_display || window_manager_running()) return;
    const Window xid = fl_xid(window);
    XWindowAttributes attributes;
    if (!xid || !XGetWindowAttributes(fl_display, xid, &attributes) || attributes.map_state != IsViewable)
        return;
    XSetInputFocus(fl_display, xid, RevertToParent, CurrentTime);
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
