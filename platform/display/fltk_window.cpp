// One top-level window of the desktop presenter.
#include "fltk_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "fltk_display.h"
#include "fltk_icon.h"
#include "fltk_keys.h"
#include "fltk_place.h"
#include "fltk_scale.h"

namespace zp::fltk {

namespace {

// Menu arrays replaced while a handler of the presenter ran, and how many run now.
struct Retired {
    int handler_depth = 0;
    std::vector<std::unique_ptr<FltkMenu>> menus;
};
Retired retired_state;
Retired& retired() { return retired_state; }

// Fills one row of the blit with the client area's 0x00RRGGBB pixels as RGB bytes,
// where the display's layout is not ours; (x, y) is within the part drawn.
void surface_row(void* data, int x, int y, int w, uchar* out) {
    const Pixels* pixels = static_cast<const Pixels*>(data);
    const uint32_t* p = pixels->data + static_cast<ptrdiff_t>(y) * pixels->stride + x;
    for (int i = 0; i < w; ++i, out += 3) {
        uint32_t v = p[i];
        out[0] = static_cast<uchar>(v >> 16);
        out[1] = static_cast<uchar>(v >> 8);
        out[2] = static_cast<uchar>(v);
    }
}

}  // namespace

HandlerScope::HandlerScope() { ++retired().handler_depth; }
HandlerScope::~HandlerScope() { --retired().handler_depth; }

void retire_menu(std::unique_ptr<FltkMenu> menu) {
    if (menu) retired().menus.push_back(std::move(menu));
}

void release_retired_menus() {
    if (retired().handler_depth == 0) retired().menus.clear();
}

PresenterWindow::PresenterWindow(HWND window) : Fl_Window(0, 0, 1, 1), window_(window) {
    end();
    box(FL_NO_BOX);      // draw() covers every pixel; no grey flash before the surface
    resizable(nullptr);  // the menu bar keeps its height when the window changes size
    callback(on_close);
}

PresenterWindow::~PresenterWindow() { retire_menu(std::move(menu_)); }

int PresenterWindow::client_top() const { return bar_ ? to_screen(MENU_BAR_HEIGHT) : 0; }

void PresenterWindow::sync(const WindowView& view) {
    show_title(*this, view.title);
    if (view.icon_big.data != icon_big_ || view.icon_small.data != icon_small_) {
        icon_big_ = view.icon_big.data;
        icon_small_ = view.icon_small.data;
        show_icons(this, view.icon_big, view.icon_small);
    }
    sync_menu(view.menu);
    client_width_ = std::max(view.client_width, 0);
    client_height_ = std::max(view.client_height, 0);
    const int width = std::max(to_screen(client_width_), 1);
    const int height = std::max(to_screen(client_height_) + client_top(), 1);
    if (place(*this, placement_, to_screen(view.x), to_screen(view.y), width, height) && bar_)
        bar_->resize(0, 0, width, client_top());
    show_placed(*this, placement_, view.visible);
    redraw();
}

void PresenterWindow::sync_menu(HMENU menu) {
    std::vector<MenuEntry> entries = read_menu(menu);
    if (!menu) {
        if (bar_) {
            remove(bar_);
            Fl::delete_widget(bar_);
            bar_ = nullptr;
        }
        retire_menu(std::move(menu_));
        return;
    }
    if (!bar_) {
        bar_ = new Fl_Menu_Bar(0, 0, std::max(w(), 1), to_screen(MENU_BAR_HEIGHT));
        bar_->textsize(static_cast<Fl_Fontsize>(to_screen(12)));
        bar_->box(FL_FLAT_BOX);
        bar_->down_box(FL_FLAT_BOX);
        add(bar_);
    } else if (menu_ && menu_->entries == entries) {
        return;
    }
    retire_menu(std::move(menu_));
    menu_ = build_fltk_menu(std::move(entries), on_menu_pick);
    bar_->menu(menu_->items.data());
    bar_->redraw();
}

void PresenterWindow::surface_drawn(const RECT& changed) {
    // Only what changed is sent to the display at the next flush.
    changed_ = rect_union(changed_, changed);
    damage(FL_DAMAGE_USER1);
}

void PresenterWindow::draw() {
    // FL_DAMAGE_USER1 alone: only the surface changed, the menu bar stays as drawn.
    const bool whole = damage() & ~FL_DAMAGE_USER1;
    if (whole) Fl_Window::draw();
    int top = client_top();
    WindowView view;
    int shown_w = 0, shown_h = 0;
    if (window_view(window_, &view) && view.client.data) {
        shown_w = std::min(view.client.width, client_width_);
        shown_h = std::min(view.client.height, client_height_);
        const RECT part = rect_clip(whole ? RECT{0, 0, shown_w, shown_h} : changed_, shown_w, shown_h);
        const int w = part.right - part.left, h = part.bottom - part.top;
        if (w > 0 && h > 0) {
            const Pixels& p = view.client;
            Pixels shown = {p.data + static_cast<ptrdiff_t>(part.top) * p.stride + part.left, w, h, p.stride};
            blit(shown, to_screen(part.left), top + to_screen(part.top));
        }
    }
    changed_ = {0, 0, 0, 0};
    if (!whole) return;
    // Whatever the surface does not cover shows the white a window starts with.
    fl_color(FL_WHITE);
    const int sw = to_screen(shown_w), sh = to_screen(shown_h);
    const int cw = to_screen(client_width_), ch = to_screen(client_height_);
    if (sw < cw) fl_rectf(sw, top, cw - sw, ch);
    if (sh < ch) fl_rectf(0, top + sh, sw, ch - sh);
}

void PresenterWindow::blit(const Pixels& part, int x, int y) {
    const int s = window_scale();
    Pixels shown = part;
    if (s > 1) {
        // Each pixel as an s x s block: sharp, as the program drew it, with no blur.
        shown = {nullptr, part.width * s, part.height * s, part.width * s};
        scaled_.resize(static_cast<size_t>(shown.width) * static_cast<size_t>(shown.height));
        uint32_t* out = scaled_.data();
        for (int row = 0; row < part.height; ++row) {
            const uint32_t* in = part.data + static_cast<ptrdiff_t>(row) * part.stride;
            uint32_t* first = out;
            for (int i = 0; i < part.width; ++i, out += s) std::fill_n(out, s, in[i]);
            for (int copy = 1; copy < s; ++copy, out += shown.width) std::copy_n(first, shown.width, out);
        }
        shown.data = scaled_.data();
    }
    if (!put_pixels(shown.data, shown.stride, x, y, shown.width, shown.height))
        fl_draw_image(surface_row, &shown, x, y, shown.width, shown.height, 3);
}

int PresenterWindow::handle(int event) {
    HandlerScope scope;
    switch (event) {
        case FL_FOCUS:
        case FL_UNFOCUS:
            // The window itself takes the keyboard; the program hears when it comes and
            // goes, as keys released meanwhile go to another program.
            input_focus(window_, event == FL_FOCUS);
            return 1;
        case FL_PUSH:
        case FL_RELEASE:
        case FL_DRAG:
        case FL_MOVE:
        case FL_ENTER:
            return handle_mouse(event);
        case FL_KEYDOWN:
        case FL_KEYUP:
            return handle_key(event);
        case FL_SHORTCUT:
            // A key reaches the window as a shortcut only when FLTK had no focus widget
            // to give it to (no window manager gave the window the focus): after the
            // menu bar's Alt mnemonics, it is a key for this window, and so is the
            // key's release, which FLTK sends to the focus.
            if (Fl_Window::handle(event)) return 1;
            if (Fl::focus() != this) Fl::focus(this);
            return handle_key(FL_KEYDOWN);
        default:
            return Fl_Window::handle(event);
    }
}

int PresenterWindow::handle_mouse(int event) {
    // Back in the platform's units, which the program's canvas is in at every scale.
    int x = from_screen(Fl::event_x());
    int y = from_screen(Fl::event_y() - client_top());
    bool inside = x >= 0 && y >= 0 && x < client_width_ && y < client_height_;
    // The menu bar, or a drag that left the window: Win32 sends the client area nothing
    // for either, unless the window holds the mouse capture.
    if (!inside && mouse_capture() != window_)
        return (event == FL_PUSH || event == FL_ENTER || event == FL_MOVE) ? Fl_Window::handle(event) : 1;
    UINT down = 0, up = 0;
    switch (Fl::event_button()) {
        case FL_LEFT_MOUSE: down = WM_LBUTTONDOWN, up = WM_LBUTTONUP; break;
        case FL_RIGHT_MOUSE: down = WM_RBUTTONDOWN, up = WM_RBUTTONUP; break;
        case FL_MIDDLE_MOUSE: down = WM_MBUTTONDOWN, up = WM_MBUTTONUP; break;
        default: break;
    }
    switch (event) {
        case FL_PUSH:
            Fl::focus(this);
            if (down) input_mouse(window_, down, x, y);
            break;
        case FL_RELEASE:
            if (up) input_mouse(window_, up, x, y);
            break;
        default:  // enter, move, drag
            if (x != last_move_x_ || y != last_move_y_) input_mouse(window_, WM_MOUSEMOVE, x, y);
            break;
    }
    last_move_x_ = x;
    last_move_y_ = y;
    return 1;
}

int PresenterWindow::handle_key(int event) {
    int code = virtual_key(Fl::event_key());
    // Alt combinations belong to the menu bar's mnemonics and the window manager
    // (Win32 makes them system keys, which the runtime does not handle either). Shift
    // and Ctrl still arrive, so the program never misses their release.
    bool modifier = code == VK_CONTROL || code == VK_SHIFT;
    if (!modifier && (Fl::event_state() & (FL_ALT | FL_META))) return 0;
    // Every other key is taken here, Escape included: FLTK would otherwise close the
    // window on Escape, or try the key as a menu shortcut.
    if (code == 0) return 1;
    if (event == FL_KEYDOWN) {
        input_key(window_, WM_KEYDOWN, code, typed_character(Fl::event_text(), Fl::event_length()));
    } else {
        input_key(window_, WM_KEYUP, code);
    }
    return 1;
}

void PresenterWindow::on_close(Fl_Widget* widget, void*) {
    // FLTK also calls the window's callback for an Escape that no widget took.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    HandlerScope scope;
    input_close(static_cast<PresenterWindow*>(widget)->window_);
}

void PresenterWindow::on_menu_pick(Fl_Widget* widget, void*) {
    HandlerScope scope;
    auto* bar = static_cast<Fl_Menu_Bar*>(widget);
    auto* self = static_cast<PresenterWindow*>(bar->window());
    const Fl_Menu_Item* item = bar->mvalue();
    if (!self || !item) return;
    // FLTK cleared a checked item's mark on the pick; the mark is the program's to set
    // (CheckMenuItem), so it stays as the menu says until the program changes it.
    if (item->flags & FL_MENU_TOGGLE) const_cast<Fl_Menu_Item*>(item)->flags |= FL_MENU_VALUE;
    input_menu_command(self->window_, menu_item_id(*item));
}

}  // namespace zp::fltk
