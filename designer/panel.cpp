// The control panel: its box, its bevelled buttons in their plain, pressed and disabled
// looks, and the effect of a click on each button.
#include "panel.h"

#include "zorve.h"

// New Shape and New Message 3 apart, Next Object alone, Background Color and Object
// Color 3 apart, then Select Object and Delete Object 3 apart.
const int button_tops[PANEL_BUTTONS] = {230, 192, 137, 82, 44, -11, -49};

const char* const button_labels[PANEL_BUTTONS] = {
    "New Shape",    "New Message",   "Next Object",   "Background Color",
    "Object Color", "Select Object", "Delete Object",
};

namespace {

constexpr int PANEL_FILL = ZORVE_GRAY_20;
constexpr int OUTLINE = ZORVE_BLACK;
constexpr int SHADOW = ZORVE_BLACK;
constexpr int SHADOW_INNER = ZORVE_GRAY_50;
constexpr int HIGHLIGHT = ZORVE_WHITE;
constexpr int DISABLED_LABEL = ZORVE_GRAY_50;

// The object operations only act on a selection: a value of 100 or more is a mode.
constexpr int FIRST_MODE = 100;

enum Look { LOOK_PLAIN, LOOK_PRESSED, LOOK_DISABLED };

Look button_look(int button, EditMode edit_mode, int pressed_button) {
    switch (button) {
        case BUTTON_NEW_SHAPE:
            return edit_mode == MODE_ADD_SHAPE ? LOOK_PRESSED : LOOK_PLAIN;
        case BUTTON_NEW_MESSAGE:
            return edit_mode == MODE_ADD_MESSAGE ? LOOK_PRESSED : LOOK_PLAIN;
        case BUTTON_SELECT_OBJECT:
            return edit_mode == MODE_SELECT ? LOOK_PRESSED : LOOK_PLAIN;
        case BUTTON_NEXT_OBJECT:
        case BUTTON_OBJECT_COLOR:
            if (edit_mode >= FIRST_MODE) return LOOK_DISABLED;
            return pressed_button == button ? LOOK_PRESSED : LOOK_PLAIN;
        default:  // Background Color and Delete Object are never disabled
            return pressed_button == button ? LOOK_PRESSED : LOOK_PLAIN;
    }
}

bool is_momentary(int button) {
    return button == BUTTON_NEXT_OBJECT || button == BUTTON_BACKGROUND_COLOR ||
           button == BUTTON_OBJECT_COLOR || button == BUTTON_DELETE_OBJECT;
}

}  // namespace

void draw_panel_background() {
    const DrawPoint top_left = {PANEL_LEFT, PANEL_TOP};
    const DrawPoint bottom_right = {PANEL_RIGHT, PANEL_BOTTOM};
    ZORVE_draw_rect_pt(PANEL_FILL, top_left, bottom_right, 0);
    ZORVE_draw_rect_pt(OUTLINE, top_left, bottom_right, 1);
}

void draw_button_box(int left, int top, int right, int bottom, int pressed) {
    const DrawPoint top_left = {left, top};
    const DrawPoint bottom_right = {right, bottom};
    ZORVE_draw_rect_pt(PANEL_FILL, top_left, bottom_right, 0);
    ZORVE_draw_rect_pt(OUTLINE, top_left, bottom_right, 1);
    if (pressed) return;  // pressed is flat: fill and outline only
    // The first line runs one column past the right edge because the end point of a
    // line is left out.
    ZORVE_draw_line(SHADOW, left, bottom + 1, right + 1, bottom + 1, 1);
    ZORVE_draw_line(SHADOW_INNER, left + 1, bottom + 2, right, bottom + 2, 1);
    ZORVE_draw_line(SHADOW, right - 1, bottom + 2, right - 1, top, 1);
    ZORVE_draw_line(SHADOW_INNER, right - 2, bottom + 2, right - 2, top, 1);
    ZORVE_draw_line(HIGHLIGHT, left + 1, top - 1, right - 1, top - 1, 1);
    ZORVE_draw_line(HIGHLIGHT, left + 1, bottom + 3, left + 1, top - 1, 1);
}

void draw_button(int left, int top, int right, int bottom, int label_x, int label_y,
                 const char* label, int pressed, int disabled) {
    const int label_color = disabled ? DISABLED_LABEL : ZORVE_BLACK;
    draw_button_box(left, top, right, bottom, pressed);
    if (pressed) {
        // The label sinks with the button.
        label_x = label_x + 1;
        label_y = label_y - 1;
    }
    ZORVE_draw_textf(label_color, label_x, label_y, LABEL_SIZE, "%s", label);
}

void draw_panel(EditMode edit_mode, int& pressed_button) {
    for (int button = 0; button < PANEL_BUTTONS; ++button) {
        const int top = button_tops[button];
        const Look look = button_look(button, edit_mode, pressed_button);
        draw_button(BUTTON_LEFT, top, BUTTON_RIGHT, top - BUTTON_HEIGHT, BUTTON_LEFT + LABEL_INSET_X,
                    top - LABEL_INSET_Y, button_labels[button], look == LOOK_PRESSED,
                    look == LOOK_DISABLED);
        // Next Object clears the click when disabled too, so with no selection no
        // momentary button below it shows pressed either.
        if (is_momentary(button) && look != LOOK_PLAIN) pressed_button = NO_BUTTON;
    }
}

int button_at(int y) {
    for (int button = 0; button < PANEL_BUTTONS; ++button) {
        const int top = button_tops[button];
        if (top - BUTTON_HEIGHT < y && y < top) return button;
    }
    return NO_BUTTON;
}

void panel_click(int x, int y, int& background_color, EditMode& edit_mode, int& pressed_button,
                 ObjectTable& table) {
    if (x > BUTTON_RIGHT) return;
    switch (button_at(y)) {
        case BUTTON_NEW_SHAPE:
            edit_mode = MODE_ADD_SHAPE;
            break;
        case BUTTON_NEW_MESSAGE:
            edit_mode = MODE_ADD_MESSAGE;
            break;
        case BUTTON_NEXT_OBJECT:
            // Recorded even when there is nothing to change.
            pressed_button = BUTTON_NEXT_OBJECT;
            if (edit_mode < FIRST_MODE) object_next_kind(table[edit_mode]);
            break;
        case BUTTON_BACKGROUND_COLOR:
            pressed_button = BUTTON_BACKGROUND_COLOR;
            background_color = (background_color + 1) % ZORVE_COLORS;
            break;
        case BUTTON_OBJECT_COLOR:
            pressed_button = BUTTON_OBJECT_COLOR;
            if (edit_mode < FIRST_MODE) object_next_color(table[edit_mode]);
            break;
        case BUTTON_SELECT_OBJECT:
            edit_mode = MODE_SELECT;
            break;
        case BUTTON_DELETE_OBJECT:
            pressed_button = BUTTON_DELETE_OBJECT;
            if (edit_mode < END_SLOT && table[edit_mode].state != OBJ_EMPTY)
                object_delete(table, edit_mode);
            break;
        default:
            break;  // an edge row or a gap between buttons
    }
}
