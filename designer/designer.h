// The card designer's main loop and screen: its state, the drawing of one whole frame,
// and the dispatch of a click by screen region and mode.
#ifndef CORDELUNE_DESIGNER_H
#define CORDELUNE_DESIGNER_H

#include "card.h"
#include "zorve.h"

enum ClickRegion { REGION_PANEL = 1, REGION_CARD = 2, REGION_OUTSIDE = 3 };

// The card rectangle: left and bottom edges belong to the card, right and top do not.
constexpr int CARD_LEFT = -145;
constexpr int CARD_BOTTOM = -150;
constexpr int CARD_RIGHT = 220;
constexpr int CARD_TOP = 200;

// Everything the designer knows. It lives in designer_main for the whole run and is
// passed by reference; nothing of it is global.
struct DesignerState {
    int quit_requested;
    int background_color;  // ColorIndex of the card
    EditMode edit_mode;
    int pressed_button;  // PanelButton to show pressed in the next frame, or -1
    ObjectTable table;
    EventRecord event;
};

// The state a run starts with: turquoise card, adding shapes, nothing pressed. The
// table is emptied separately, after the runtime has started.
void designer_state_init(DesignerState& state);

// The program: starts the runtime with the platform's four start-up values, runs the
// loop until a quit event, stops the runtime and returns 0.
int designer_main(void* instance, void* previous_instance, char* command_line, int show_state);

// One whole screen, back to front; may reset state.pressed_button.
void draw_frame(DesignerState& state);
void draw_banner();
void draw_card(int background_color, EditMode edit_mode, const ObjectTable& table);
void draw_status(EditMode edit_mode);

int click_region(int x, int y);
void dispatch_click(int x, int y, int& background_color, EditMode& edit_mode, int& pressed_button,
                    ObjectTable& table);

#endif
