// The designer's screen and click dispatch without a main loop: one frame on the canvas,
// the status texts, the screen regions and what a click does in each mode.
#include <string>
#include <vector>

#include "designer.h"
#include "panel.h"
#include "runtime_fixture.h"

namespace {

using fixture::pixel_at;
using Lines = std::vector<std::string>;

class Screen : public fixture::Canvas {
protected:
    void SetUp() override {
        fixture::Canvas::SetUp();
        designer_state_init(state);
        table_reset(state.table);
    }
    void click(int x, int y) {
        dispatch_click(x, y, state.background_color, state.edit_mode, state.pressed_button, state.table);
    }
    int count() const {
        int n = 0;
        while (state.table[n].state == OBJ_SHAPE || state.table[n].state == OBJ_MESSAGE) ++n;
        return n;
    }
    DesignerState state;
};

TEST_F(Screen, AFrameCoversTheScreenRectangleAndNothingBeyondIt) {
    state.edit_mode = 0;
    object_add_shape(100, 100, state.edit_mode, state.table);
    state.pressed_button = BUTTON_BACKGROUND_COLOR;
    draw_frame(state);
    EXPECT_EQ(pixel_at(0, 0), RGB(153, 255, 204));        // the card
    EXPECT_EQ(pixel_at(100, 100), RGB(255, 0, 0));        // its heart
    EXPECT_EQ(pixel_at(220, -150), RGB(153, 255, 204));   // its far corner is painted
    EXPECT_EQ(pixel_at(221, 0), RGB(128, 128, 128));      // the screen
    EXPECT_EQ(pixel_at(0, -151), RGB(128, 128, 128));
    EXPECT_EQ(pixel_at(300, -250), RGB(128, 128, 128));   // its lower-right corner
    EXPECT_EQ(pixel_at(250, 230), RGB(204, 204, 204));    // the title band
    EXPECT_EQ(pixel_at(-250, -100), RGB(204, 204, 204));  // the panel box
    EXPECT_EQ(pixel_at(301, 0), RGB(255, 255, 255));      // beyond the screen: as cleared
    EXPECT_EQ(pixel_at(0, -251), RGB(255, 255, 255));
    EXPECT_EQ(state.pressed_button, -1);  // shown once, then forgotten
}

TEST_F(Screen, TheStatusLineFollowsTheMode) {
    const std::string selected =
        "black text at (-145,-190), \"Object selected. You can move it, change it, or change its color.\"\n";
    struct Case {
        EditMode mode;
        Lines expected;
    };
    const Case cases[] = {
        {0, {selected}},
        {98, {selected}},
        {MODE_ADD_SHAPE, {"black text at (-145,-190), \"Click on the card to add a shape\"\n"}},
        {MODE_ADD_MESSAGE, {"black text at (-145,-190), \"Click on the card to add a message\"\n"}},
        {MODE_SELECT,
         {"black text at (-145,-190), \"To select a shape, click on it.  To select a message, click "
          "on its first letter\"\n"}},
        {MODE_CARD_FULL,
         {"blue text at (-145,-210), \"You can't add any more objects to the card.\"\n",
          "blue text at (-145,-224), \"Use Delete Object to delete an object\"\n"}},
    };
    zt::set_logging_quietly(true);
    for (const Case& c : cases) {
        lines().clear();
        draw_status(c.mode);
        EXPECT_EQ(lines(), c.expected) << "mode " << c.mode;
    }
}

TEST_F(Screen, ClicksFallIntoRegionsByStrictAndInclusiveEdges) {
    struct Case {
        int x, y, region;
    };
    const Case cases[] = {
        {-196, 100, REGION_PANEL},   {-195, 100, REGION_OUTSIDE}, {-289, 100, REGION_PANEL},
        {-290, 100, REGION_OUTSIDE}, {-250, 229, REGION_PANEL},   {-250, 230, REGION_OUTSIDE},
        {-250, -83, REGION_PANEL},   {-250, -84, REGION_OUTSIDE}, {-145, -150, REGION_CARD},
        {-146, 0, REGION_OUTSIDE},   {0, -151, REGION_OUTSIDE},   {219, 199, REGION_CARD},
        {220, 0, REGION_OUTSIDE},    {0, 200, REGION_OUTSIDE},    {0, 230, REGION_OUTSIDE},
        {260, -240, REGION_OUTSIDE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(click_region(c.x, c.y), c.region) << c.x << "," << c.y;
}

TEST_F(Screen, AClickOnTheCardAddsThenMovesTheSelection) {
    click(0, 0);
    EXPECT_EQ(state.edit_mode, 0);
    EXPECT_EQ(state.table[0].state, OBJ_SHAPE);
    EXPECT_EQ(state.table[0].color, ZORVE_RED);
    click(50, 60);
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(state.table[0].x, 50);
    EXPECT_EQ(state.table[0].y, 60);
    state.edit_mode = MODE_ADD_MESSAGE;
    click(-145, -150);  // the card's own corner
    EXPECT_EQ(state.edit_mode, 1);
    EXPECT_EQ(state.table[1].state, OBJ_MESSAGE);
    state.edit_mode = MODE_ADD_SHAPE;
    for (auto [x, y] : {std::pair{220, 0}, {0, 200}, {-146, 0}, {-195, 100}}) click(x, y);
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(state.edit_mode, MODE_ADD_SHAPE);
}

TEST_F(Screen, AFullCardTurnsAddClicksIntoTheFullModeAndThenIgnoresThem) {
    for (int i = 0; i < 99; ++i) {
        state.edit_mode = i % 2 ? MODE_ADD_MESSAGE : MODE_ADD_SHAPE;
        click(i - 100, 10);
    }
    EXPECT_EQ(count(), 99);
    state.edit_mode = MODE_ADD_MESSAGE;
    click(0, 0);
    EXPECT_EQ(state.edit_mode, MODE_CARD_FULL);
    state.edit_mode = MODE_ADD_SHAPE;
    click(0, 0);
    EXPECT_EQ(state.edit_mode, MODE_CARD_FULL);
    click(0, 0);
    EXPECT_EQ(state.edit_mode, MODE_CARD_FULL);
    EXPECT_EQ(state.table[98].x, -2);  // nothing moved
    EXPECT_EQ(state.table[END_SLOT].state, OBJ_END);
    click(-250, 210);  // a panel button ends the mode
    EXPECT_EQ(state.edit_mode, MODE_ADD_SHAPE);
}

}  // namespace
