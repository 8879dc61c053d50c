// The control panel: seven bevelled buttons in a box at the left of the screen, and
// what a click on each of them does. The panel keeps no state; it reads and changes the
// designer's mode, card colour and momentary pressed button.
#ifndef CORDELUNE_PANEL_H
#define CORDELUNE_PANEL_H

#include "card.h"

enum PanelButton {
    BUTTON_NEW_SHAPE = 0,
    BUTTON_NEW_MESSAGE = 1,
    BUTTON_NEXT_OBJECT = 2,
    BUTTON_BACKGROUND_COLOR = 3,
    BUTTON_OBJECT_COLOR = 4,
    BUTTON_SELECT_OBJECT = 5,
    BUTTON_DELETE_OBJECT = 6
};
constexpr int PANEL_BUTTONS = 7;
constexpr int NO_BUTTON = -1;

// The panel box, from its upper-left to its lower-right corner.
constexpr int PANEL_LEFT = -297;
constexpr int PANEL_TOP = 248;
constexpr int PANEL_RIGHT = -175;
constexpr int PANEL_BOTTOM = -104;

// Every button spans the same columns.
constexpr int BUTTON_LEFT = -290;
constexpr int BUTTON_RIGHT = -195;
constexpr int BUTTON_HEIGHT = 35;
constexpr int LABEL_SIZE = 12;
constexpr int LABEL_INSET_X = 5;   // label anchor right of the left edge
constexpr int LABEL_INSET_Y = 26;  // label anchor below the top edge

// Top edge of each button, top first; the bottom edge is BUTTON_HEIGHT lower.
extern const int button_tops[PANEL_BUTTONS];
extern const char* const button_labels[PANEL_BUTTONS];

void draw_panel_background();
// The seven buttons in their looks; resets pressed_button once it has been shown.
void draw_panel(EditMode edit_mode, int& pressed_button);
void draw_button(int left, int top, int right, int bottom, int label_x, int label_y,
                 const char* label, int pressed, int disabled);
void draw_button_box(int left, int top, int right, int bottom, int pressed);

// The button whose band (the strict inside of its box) holds y, or NO_BUTTON.
int button_at(int y);
void panel_click(int x, int y, int& background_color, EditMode& edit_mode, int& pressed_button,
                 ObjectTable& table);

#endif
