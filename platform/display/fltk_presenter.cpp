// Desktop presenter: every top-level window as an FLTK window on the X display.
//
// Thin by design: it shows client surfaces and menu bars and hands input to the
// platform as window messages; what the messages mean is the program's business.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <chrono>
#include <map>

#include "fltk_dialog.h"
#include "fltk_display.h"
#include "fltk_scale.h"
#include "fltk_window.h"
#include "presenters.h"

namespace zp {

namespace {

using fltk::DialogWindow;
using fltk::PresenterWindow;

// Everything the presenter keeps: windows showing a client surface, dialogs showing
// widgets, and whether the display was made ready for them.
struct DesktopState {
    std::map<HWND, PresenterWindow*> windows;
    std::map<HWND, DialogWindow*> dialogs;
    bool started = false;
};

DesktopState& desktop() {
    static DesktopState state;
    return state;
}
std::map<HWND, PresenterWindow*>& windows() { return desktop().windows; }
std::map<HWND, DialogWindow*>& dialogs() { return desktop().dialogs; }

PresenterWindow* find_window(HWND window) {
    auto it = windows().find(window);
    return it == windows().end() ? nullptr : it->second;
}

// The menu bar and the dialog's widgets draw with the same face as the rest of the
// program's text, not whatever the machine's fontconfig prefers for "sans". FLTK's Xft
// names carry the style in their first character: ' ' plain, B bold, I italic, P both.
void use_project_fonts() {
    Fl::set_font(FL_HELVETICA, " Liberation Sans");
    Fl::set_font(FL_HELVETICA_BOLD, "BLiberation Sans");
    Fl::set_font(FL_HELVETICA_ITALIC, "ILiberation Sans");
    Fl::set_font(FL_HELVETICA_BOLD_ITALIC, "PLiberation Sans");
}

// The display itself was opened when the presenter was chosen.
void start_display() {
    if (desktop().started) return;
    Fl::visual(FL_RGB);  // true colour for fl_draw_image, before any window is shown
    // Every window's WM_CLASS names the program, so that desktops group its windows and
    // match them with its launcher (a desktop entry's StartupWMClass).
    const std::string name = program_name();
    if (!name.empty()) Fl_Window::default_xclass(name.c_str());
    use_project_fonts();
    // FLTK sizes what it draws of its own (a menu item's check box) by its normal font
    // size: it grows with the scale as the menu's and the dialog's texts do.
    FL_NORMAL_SIZE = static_cast<Fl_Fontsize>(FL_NORMAL_SIZE * fltk::window_scale());
    fltk::register_menu_label_type();
    fltk::register_plain_label_type();
    desktop().started = true;
}

void forget_window(HWND window) {
    Fl_Window* w = find_window(window);
    if (w) {
        windows().erase(window);
    } else if (auto it = dialogs().find(window); it != dialogs().end()) {
        w = it->second;
        dialogs().erase(it);
    } else {
        return;
    }
    w->hide();
    // Deleted once FLTK is done with it: the request may come from inside one of the
    // window's own handlers (a close from the window manager destroys the window).
    Fl::delete_widget(w);
}

void screen_size(int* width, int* height) {
    start_display();
    // In the platform's units: windows it places keep inside the screen at any scale.
    *width = Fl::w() / fltk::window_scale();
    *height = Fl::h() / fltk::window_scale();
}

void window_changed(HWND window) {
    start_display();
    WindowView view;
    if (!window_view(window, &view)) {
        forget_window(window);
        return;
    }
    auto dialog = dialogs().find(window);
    if (dialog == dialogs().end() && !find_window(window) && view.dialog)
        dialog = dialogs().emplace(window, new DialogWindow(window)).first;
    if (dialog != dialogs().end()) {
        dialog->second->sync(view);
        return;
    }
    PresenterWindow*& w = windows()[window];
    if (!w) w = new PresenterWindow(window);
    w->sync(view);
}

void window_destroyed(HWND window) { forget_window(window); }

void window_drawn(HWND window, const RECT& changed) {
    if (PresenterWindow* w = find_window(window)) w->surface_drawn(changed);
}

void poll() {
    start_display();
    fltk::release_retired_menus();
    for (auto& [handle, dialog] : dialogs()) dialog->sync_controls();
    Fl::check();
}

void wait(int64_t timeout_ms) {
    start_display();
    fltk::release_retired_menus();
    // Fl::wait() without a timeout returns at once while no window is shown; a long
    // timeout sleeps until an event comes whatever is shown.
    Fl::wait(timeout_ms < 0 ? 1e20 : static_cast<double>(timeout_ms) / 1000.0);
}

int64_t now_ms() {
    using clock = std::chrono::steady_clock;
    static const clock::time_point start = clock::now();  // the clock's origin, set once
    return std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - start).count();
}

}  // namespace

const Presenter fltk_presenter = {"desktop", true, screen_size, window_changed,
                                  window_destroyed, window_drawn, poll, wait, now_ms};

Availability fltk_when_display_opens(std::string* why) {
    return fltk::open_display(why) ? Availability::AVAILABLE : Availability::CANNOT_RUN;
}

}  // namespace zp
