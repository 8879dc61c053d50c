// One top-level window of the desktop presenter: an FLTK window that shows the client
// surface of a platform window below a menu bar, and turns input into window messages.
#ifndef ZORVE_PLATFORM_FLTK_WINDOW_H
#define ZORVE_PLATFORM_FLTK_WINDOW_H

#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>

#include <memory>
#include <vector>

#include "../presenter.h"
#include "fltk_menu.h"
#include "fltk_place.h"

namespace zp::fltk {

class PresenterWindow : public Fl_Window {
public:
    explicit PresenterWindow(HWND window);
    ~PresenterWindow() override;

    HWND window() const { return window_; }
    // Takes over the platform window's title, geometry, menu and visibility.
    void sync(const WindowView& view);
    // The client area's pixels changed inside `changed`: show them at the next flush.
    void surface_drawn(const RECT& changed);

    int handle(int event) override;
    void draw() override;

private:
    // On the screen, below the menu bar (window_scale() times its height).
    int client_top() const;
    void sync_menu(HMENU menu);
    void blit(const Pixels& part, int x, int y);
    int handle_mouse(int event);
    int handle_key(int event);
    static void on_close(Fl_Widget* widget, void*);
    static void on_menu_pick(Fl_Widget* widget, void*);

    HWND window_;
    int client_width_ = 0, client_height_ = 0;
    Placement placement_;
    int last_move_x_ = -1, last_move_y_ = -1;
    Fl_Menu_Bar* bar_ = nullptr;
    const uint32_t* icon_big_ = nullptr;  // the icons' pixels as last shown
    const uint32_t* icon_small_ = nullptr;
    RECT changed_ = {0, 0, 0, 0};  // of the client area, since the last draw
    std::vector<uint32_t> scaled_;  // the part being drawn, scaled, at a scale above 1
    std::unique_ptr<FltkMenu> menu_;
};

// Counts FLTK handlers of the presenter running on the stack: a menu array that is
// replaced while one runs is released only once none does.
struct HandlerScope {
    HandlerScope();
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;
};
void retire_menu(std::unique_ptr<FltkMenu> menu);
void release_retired_menus();

}  // namespace zp::fltk

#endif
