// One frame of the designer's screen, drawn back to front from the state alone: the gray
// screen, the title band, the panel box, the card with its objects and status line, and
// the buttons on top of everything.
#include "designer.h"
#include "panel.h"
#include "shapes.h"

namespace {

constexpr int SCREEN_LEFT = -300;
constexpr int SCREEN_BOTTOM = -250;
constexpr int SCREEN_RIGHT = 300;
constexpr int SCREEN_TOP = 250;
constexpr int BANNER_BOTTOM = 204;
constexpr int TITLE_SIZE = 27;
constexpr int STATUS_SIZE = 14;
constexpr int STATUS_X = CARD_LEFT;
constexpr int STATUS_Y = -190;
constexpr int FULL_STATUS_Y = -210;

}  // namespace

void draw_frame(DesignerState& state) {
    // White first, then gray over it, on purpose: the white never shows, but with logging
    // on the log opens every frame with both rectangles, as the card's log always has.
    ZORVE_draw_rect(ZORVE_WHITE, SCREEN_LEFT, SCREEN_BOTTOM, SCREEN_RIGHT, SCREEN_TOP, 0);
    ZORVE_draw_rect(ZORVE_GRAY_50, SCREEN_LEFT, SCREEN_BOTTOM, SCREEN_RIGHT, SCREEN_TOP, 0);
    draw_banner();
    draw_panel_background();
    draw_card(state.background_color, state.edit_mode, state.table);
    // Last, so the buttons lie over anything that reaches into the panel.
    draw_panel(state.edit_mode, state.pressed_button);
}

void draw_banner() {
    ZORVE_draw_rect(ZORVE_GRAY_20, SCREEN_LEFT, SCREEN_TOP, SCREEN_RIGHT, BANNER_BOTTOM, 0);
    // A gray title over a white copy one pixel up-left and a black one down-right.
    ZORVE_draw_textf(ZORVE_WHITE, -116, 211, TITLE_SIZE, "Cordelune!");
    ZORVE_draw_textf(ZORVE_BLACK, -114, 209, TITLE_SIZE, "Cordelune!");
    ZORVE_draw_textf(ZORVE_GRAY_50, -115, 210, TITLE_SIZE, "Cordelune!");
}

void draw_card(int background_color, EditMode edit_mode, const ObjectTable& table) {
    ZORVE_draw_rect(background_color, CARD_LEFT, CARD_BOTTOM, CARD_RIGHT, CARD_TOP, 0);
    draw_objects(background_color, edit_mode, table);
    draw_status(edit_mode);
}

void draw_status(EditMode edit_mode) {
    const char* text = nullptr;
    if (edit_mode < END_SLOT)
        text = "Object selected. You can move it, change it, or change its color.";
    else if (edit_mode == MODE_ADD_SHAPE)
        text = "Click on the card to add a shape";
    else if (edit_mode == MODE_ADD_MESSAGE)
        text = "Click on the card to add a message";
    else if (edit_mode == MODE_SELECT)
        text = "To select a shape, click on it.  To select a message, click on its first letter";
    if (text) {
        ZORVE_draw_textf(ZORVE_BLACK, STATUS_X, STATUS_Y, STATUS_SIZE, "%s", text);
        return;
    }
    if (edit_mode == MODE_CARD_FULL) {
        ZORVE_draw_textf(ZORVE_BLUE, STATUS_X, FULL_STATUS_Y, STATUS_SIZE,
                         "You can't add any more objects to the card.");
        ZORVE_draw_textf(ZORVE_BLUE, STATUS_X, FULL_STATUS_Y - STATUS_SIZE, STATUS_SIZE,
                         "Use Delete Object to delete an object");
    }
}
