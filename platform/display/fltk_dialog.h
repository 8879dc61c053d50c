// Modal dialogs of the desktop presenter: a platform dialog (window class "#32770") as
// an FLTK window whose controls are real widgets at the template's places.
#ifndef ZORVE_PLATFORM_FLTK_DIALOG_H
#define ZORVE_PLATFORM_FLTK_DIALOG_H

#include <FL/Fl_Double_Window.H>

#include <string>
#include <vector>

#include "../presenter.h"
#include "fltk_place.h"

namespace zp::fltk {

// Makes FLTK draw control texts as plain text; once, before the first dialog.
void register_plain_label_type();

// Win32 code of the keys that belong to the dialog itself rather than to a control:
// Enter (presses the default button) and Escape (cancels); 0 for any other key.
int dialog_key(int fl_key);

class DialogWindow : public Fl_Double_Window {
public:
    explicit DialogWindow(HWND dialog);

    HWND window() const { return dialog_; }
    // Takes over the dialog's title, geometry and visibility, and its controls.
    void sync(const WindowView& view);
    // Builds the widgets when the controls change, and shows texts that the program
    // set since (SetWindowTextA on a control tells the presenter nothing).
    void sync_controls();

    int handle(int event) override;

private:
    struct Control {
        HWND handle = nullptr;
        Fl_Widget* widget = nullptr;
        bool editable = false;
        // The control's text as last shown or sent, in the platform's characters.
        std::string text;
    };
    void build_controls(const std::vector<ControlView>& views);
    void show_text(Control& control, const std::string& text);
    Control* control_of(HWND handle);
    void focus_first_field();
    static void on_close(Fl_Widget* widget, void*);
    static void on_edit(Fl_Widget* widget, void* control);
    static void on_button(Fl_Widget* widget, void* control);

    HWND dialog_;
    std::vector<Control> controls_;
    Placement placement_;
};

}  // namespace zp::fltk

#endif
