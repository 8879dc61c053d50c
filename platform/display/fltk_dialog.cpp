// Modal dialogs of the desktop presenter.
//
// The platform runs the dialog (its modal loop, its keyboard interface, its end); this
// file only shows it with widgets and reports what the person does: an edited field as
// its new text, a pressed button as the button's click, Enter and Escape as the
// dialog's keys, the close box as the dialog's close request.
#include "fltk_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Multiline_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "fltk_display.h"
#include "fltk_place.h"
#include "fltk_scale.h"
#include "fltk_text.h"

namespace zp::fltk {

namespace {

// Control texts are plain text: FLTK's '@' symbols are not drawn (and buttons below
// drop the '&' mnemonics), so that a prompt shows exactly what the program gave.
constexpr Fl_Labeltype PLAIN_LABEL = static_cast<Fl_Labeltype>(FL_FREE_LABELTYPE + 1);

void draw_plain_label(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
    fl_font(label->font, label->size);
    fl_color(static_cast<Fl_Color>(label->color));
    fl_draw(label->value, x, y, w, h, align, label->image, 0);
}

void measure_plain_label(const Fl_Label* label, int& w, int& h) {
    fl_font(label->font, label->size);
    fl_measure(label->value, w, h, 0);
}

// The dialog font's size: the height of the dialog base unit is the font's cell
// height, of which the em that FLTK sizes fonts by is about five sixths.
int font_size() {
    const int cell = dialog_font_height();
    return to_screen(std::clamp(cell * 5 / 6, 10, 20));
}

// A control's place in the dialog, on the screen.
struct Place {
    int x, y, w, h;
    bool operator==(const Place&) const = default;
};
Place place_of(const ControlView& v) {
    return {to_screen(v.x), to_screen(v.y), to_screen(v.width), to_screen(v.height)};
}

template <class Base>
class PlainButton : public Base {
public:
    PlainButton(int x, int y, int w, int h) : Base(x, y, w, h) {
        this->clear_flag(Fl_Widget::SHORTCUT_LABEL);
        this->labeltype(PLAIN_LABEL);
    }
};

// Enter and Escape pass by the field to the dialog: a multi-line field would take
// Enter as a newline, which the dialog's fields never hold.
template <class Base>
class Field : public Base {
public:
    Field(int x, int y, int w, int h) : Base(x, y, w, h) {}
    int handle(int event) override {
        if ((event == FL_KEYDOWN || event == FL_KEYUP) && dialog_key(Fl::event_key())) return 0;
        return Base::handle(event);
    }
};

}  // namespace

void register_plain_label_type() { Fl::set_labeltype(PLAIN_LABEL, draw_plain_label, measure_plain_label); }

int dialog_key(int fl_key) {
    switch (fl_key) {
        case FL_Enter:
        case FL_KP_Enter: return VK_RETURN;
        case FL_Escape: return VK_ESCAPE;
        default: return 0;
    }
}

DialogWindow::DialogWindow(HWND dialog) : Fl_Double_Window(0, 0, 1, 1), dialog_(dialog) {
    end();
    resizable(nullptr);
    callback(on_close);
    // Modal over the program's other windows, as the platform disables the owner; FLTK
    // also makes it transient for the window shown last, which the window manager keeps
    // it above.
    set_modal();
}

void DialogWindow::sync(const WindowView& view) {
    show_title(*this, view.title);
    place(*this, placement_, to_screen(view.x), to_screen(view.y), std::max(to_screen(view.client_width), 1),
          std::max(to_screen(view.client_height), 1));
    sync_controls();
    if (show_placed(*this, placement_, view.visible)) {
        focus_first_field();
        take_keyboard(this);
    }
}

void DialogWindow::sync_controls() {
    const std::vector<ControlView> views = window_controls(dialog_);
    bool same = views.size() == controls_.size();
    for (size_t i = 0; same && i < views.size(); ++i) same = views[i].handle == controls_[i].handle;
    if (!same) {
        build_controls(views);
        return;
    }
    for (size_t i = 0; i < views.size(); ++i) {
        const ControlView& v = views[i];
        Control& c = controls_[i];
        if (v.text != c.text) show_text(c, v.text);
        const Place p = place_of(v);
        if (p != Place{c.widget->x(), c.widget->y(), c.widget->w(), c.widget->h()}) {
            c.widget->resize(p.x, p.y, p.w, p.h);
            redraw();
        }
    }
}

void DialogWindow::build_controls(const std::vector<ControlView>& views) {
    for (Control& c : controls_) {
        remove(c.widget);
        Fl::delete_widget(c.widget);
    }
    controls_.clear();
    const int size = font_size();
    for (const ControlView& v : views) {
        Control c;
        c.handle = v.handle;
        const Place p = place_of(v);
        if (v.class_name == "Edit") {
            Fl_Input* field = nullptr;
            if (v.style & ES_MULTILINE)
                field = new Field<Fl_Multiline_Input>(p.x, p.y, p.w, p.h);
            else
                field = new Field<Fl_Input>(p.x, p.y, p.w, p.h);
            field->textsize(size);
            field->when(FL_WHEN_CHANGED);
            field->callback(on_edit, v.handle);
            c.editable = true;
            c.widget = field;
        } else if (v.class_name == "Button") {
            Fl_Button* button = nullptr;
            if ((v.style & 0x0F) == BS_DEFPUSHBUTTON)
                button = new PlainButton<Fl_Return_Button>(p.x, p.y, p.w, p.h);
            else
                button = new PlainButton<Fl_Button>(p.x, p.y, p.w, p.h);
            button->callback(on_button, v.handle);
            c.widget = button;
        } else {
            // Static texts, and controls of classes the presenter does not know, which
            // show their text at least.
            auto* box = new Fl_Box(p.x, p.y, p.w, p.h);
            box->box(FL_NO_BOX);
            box->labeltype(PLAIN_LABEL);
            const DWORD alignment = v.style & 0x3;  // SS_LEFT, SS_CENTER, SS_RIGHT
            const Fl_Align side = alignment == 1   ? FL_ALIGN_CENTER
                                  : alignment == 2 ? FL_ALIGN_RIGHT
                                                   : FL_ALIGN_LEFT;
            box->align(side | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP | FL_ALIGN_CLIP);
            c.widget = box;
        }
        c.widget->labelsize(size);
        add(c.widget);
        show_text(c, v.text);
        controls_.push_back(std::move(c));
    }
    redraw();
}

void DialogWindow::show_text(Control& control, const std::string& text) {
    control.text = text;
    const std::string shown = utf8_of_latin1(text);
    if (control.editable) {
        static_cast<Fl_Input*>(control.widget)->value(shown.c_str());
    } else {
        control.widget->copy_label(shown.c_str());
        // The box has no background of its own: the window behind it is drawn again,
        // so that no trace of the old text stays.
        redraw();
    }
}

DialogWindow::Control* DialogWindow::control_of(HWND handle) {
    for (Control& c : controls_)
        if (c.handle == handle) return &c;
    return nullptr;
}

void DialogWindow::focus_first_field() {
    // The control the platform gave the focus (the first tab stop), else the first field.
    Control* target = control_of(focused_control());
    for (Control& c : controls_)
        if (!target && c.editable) target = &c;
    if (target) Fl::focus(target->widget);
}

int DialogWindow::handle(int event) {
    switch (event) {
        case FL_KEYDOWN:
        case FL_SHORTCUT:
            if (int key = dialog_key(Fl::event_key())) {
                input_key(dialog_, WM_KEYDOWN, key);
                return 1;
            }
            break;
        case FL_KEYUP:
            if (int key = dialog_key(Fl::event_key())) {
                input_key(dialog_, WM_KEYUP, key);
                return 1;
            }
            break;
        default:
            break;
    }
    return Fl_Double_Window::handle(event);
}

void DialogWindow::on_close(Fl_Widget* widget, void*) {
    // FLTK would close the window on an Escape that no widget took; handle() takes them.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    input_close(static_cast<DialogWindow*>(widget)->dialog_);
}

void DialogWindow::on_edit(Fl_Widget* widget, void* control) {
    auto* self = static_cast<DialogWindow*>(widget->window());
    Control* c = self ? self->control_of(static_cast<HWND>(control)) : nullptr;
    if (!c) return;
    c->text = latin1_of_utf8(static_cast<Fl_Input*>(widget)->value());
    input_set_text(c->handle, c->text.c_str());
}

void DialogWindow::on_button(Fl_Widget*, void* control) {
    // What the platform's button reacts to: the release of the left button over it.
    input_mouse(static_cast<HWND>(control), WM_LBUTTONUP, 1, 1);
}

}  // namespace zp::fltk
