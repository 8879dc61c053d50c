// The designer's run: start the runtime, then draw a frame and wait for an event until
// the user quits; clicks are classified by screen region and acted on by mode.
#include <cstdlib>
#include <ctime>

#include "designer.h"
#include "panel.h"

void designer_state_init(DesignerState& state) {
    state.quit_requested = 0;
    state.background_color = ZORVE_TURQUOISE;
    state.edit_mode = MODE_ADD_SHAPE;
    state.pressed_button = NO_BUTTON;
    state.event = EventRecord{0, 0, 0};
}

int designer_main(void* instance, void* previous_instance, char* command_line, int show_state) {
    DesignerState state;
    designer_state_init(state);
    // Hearts and starbursts draw from the generator: a new card flickers differently.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    ZORVE_start(instance, previous_instance, command_line, show_state);
    console_show(0);
    ZORVE_set_logging(0);
    ZORVE_clear();
    // Periodic events keep the screen redrawing, so hearts pulse while the user rests.
    ZORVE_set_animation(ANIMATE_RUN);
    table_reset(state.table);

    while (!state.quit_requested) {
        draw_frame(state);
        const int kind = ZORVE_wait_event(&state.event);
        if (kind == ZORVE_MOUSE)
            dispatch_click(state.event.x, state.event.y, state.background_color, state.edit_mode,
                           state.pressed_button, state.table);
        else if (kind == ZORVE_QUIT)
            state.quit_requested = 1;
        // Keys and periodic events only cause the next frame.
    }
    ZORVE_stop();
    return 0;
}

int click_region(int x, int y) {
    if (BUTTON_LEFT < x && x < BUTTON_RIGHT && button_tops[BUTTON_DELETE_OBJECT] - BUTTON_HEIGHT < y &&
        y < button_tops[BUTTON_NEW_SHAPE])
        return REGION_PANEL;
    if (CARD_LEFT <= x && x < CARD_RIGHT && CARD_BOTTOM <= y && y < CARD_TOP) return REGION_CARD;
    return REGION_OUTSIDE;
}

void dispatch_click(int x, int y, int& background_color, EditMode& edit_mode, int& pressed_button,
                    ObjectTable& table) {
    switch (click_region(x, y)) {
        case REGION_PANEL:
            panel_click(x, y, background_color, edit_mode, pressed_button, table);
            return;
        case REGION_CARD:
            break;
        default:
            return;  // the gray screen and the title band ignore clicks
    }
    if (edit_mode == MODE_ADD_SHAPE) {
        if (!object_add_shape(x, y, edit_mode, table)) edit_mode = MODE_CARD_FULL;
    } else if (edit_mode == MODE_ADD_MESSAGE) {
        if (!object_add_message(x, y, edit_mode, table)) edit_mode = MODE_CARD_FULL;
    } else if (edit_mode == MODE_SELECT) {
        object_pick(x, y, edit_mode, table);
    } else if (edit_mode < END_SLOT) {
        // A selected object jumps to the click point.
        object_move(x, y, table[edit_mode]);
    }
    // The card-full mode waits for a panel button.
}
