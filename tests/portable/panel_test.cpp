// The control panel without a main loop: what its drawing puts on the canvas and in the
// log, which look each button takes, and what a click in each band does. These run
// against our GDI and, in the Windows build, against Wine's.
#include <string>
#include <utility>
#include <vector>

#include "card.h"
#include "panel.h"
#include "runtime_fixture.h"

namespace {

using fixture::pixel_at;
using Lines = std::vector<std::string>;

constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF GRAY50 = RGB(128, 128, 128);
constexpr COLORREF GRAY20 = RGB(204, 204, 204);

class Panel : public fixture::Canvas {};

TEST_F(Panel, APlainBoxHasSixBevelLinesInOrderAPressedBoxNone) {
    zt::set_logging_quietly(true);
    draw_button_box(-290, 230, -195, 195, 0);
    EXPECT_EQ(lines(), (Lines{
                           "20% gray rectangle with bounding box (-290,230) to (-195,195), filled\n",
                           "black rectangle with bounding box (-290,230) to (-195,195) with line width 1\n",
                           "black line from (-290,196) to (-194,196), width 1\n",
                           "50% gray line from (-289,197) to (-195,197), width 1\n",
                           "black line from (-196,197) to (-196,230), width 1\n",
                           "50% gray line from (-197,197) to (-197,230), width 1\n",
                           "white line from (-289,229) to (-196,229), width 1\n",
                           "white line from (-289,198) to (-289,229), width 1\n",
                       }));
    lines().clear();
    draw_button_box(-290, 230, -195, 195, 1);
    EXPECT_EQ(lines(), (Lines{
                           "20% gray rectangle with bounding box (-290,230) to (-195,195), filled\n",
                           "black rectangle with bounding box (-290,230) to (-195,195) with line width 1\n",
                       }));
}

// The box covers both of its corners: its outline runs along columns L and R and rows
// T and B, and the bevel lies just inside.
TEST_F(Panel, TheBevelLightsTheTopLeftAndShadowsTheBottomRight) {
    const int L = -290, T = 230, R = -195, B = 195;
    draw_button_box(L, T, R, B, 0);
    EXPECT_EQ(pixel_at(L + 5, T), BLACK);        // outline
    EXPECT_EQ(pixel_at(L + 5, T - 1), WHITE);    // top highlight
    EXPECT_EQ(pixel_at(L + 1, T - 10), WHITE);   // left highlight
    EXPECT_EQ(pixel_at(L + 1, B + 2), GRAY50);   // the inner shadow's first column
    EXPECT_EQ(pixel_at(L + 5, B + 2), GRAY50);   // bottom shadow, inner
    EXPECT_EQ(pixel_at(L + 5, B + 1), BLACK);    // bottom shadow
    EXPECT_EQ(pixel_at(L, B + 1), BLACK);        // ... from the left edge
    EXPECT_EQ(pixel_at(L + 5, B), BLACK);        // outline
    EXPECT_EQ(pixel_at(R - 1, T - 10), BLACK);   // right shadow
    EXPECT_EQ(pixel_at(R - 2, T - 10), GRAY50);  // right shadow, inner
    EXPECT_EQ(pixel_at(R - 2, T - 1), WHITE);    // the highlight is drawn over it
    EXPECT_EQ(pixel_at(R, T - 10), BLACK);       // outline
    EXPECT_EQ(pixel_at(R + 1, T - 10), WHITE);   // right of the box: untouched
    EXPECT_EQ(pixel_at(L + 5, B - 1), WHITE);    // below the box: untouched
    EXPECT_EQ(pixel_at(L + 20, T - 15), GRAY20); // face

    ZORVE_clear();
    draw_button_box(L, T, R, B, 1);
    EXPECT_EQ(pixel_at(L + 5, T), BLACK);
    EXPECT_EQ(pixel_at(R, T - 10), BLACK);
    EXPECT_EQ(pixel_at(L + 5, B), BLACK);
    for (auto [x, y] : {std::pair{L + 5, T - 1}, {L + 1, T - 10}, {L + 5, B + 2}, {L + 5, B + 1},
                        {R - 1, T - 10}, {R - 2, T - 10}})
        EXPECT_EQ(pixel_at(x, y), GRAY20) << x << "," << y;  // flat
}

TEST_F(Panel, ALabelIsGrayWhenDisabledAndSinksWhenPressed) {
    zt::set_logging_quietly(true);
    draw_button(-290, 137, -195, 102, -285, 111, "Next Object", 0, 1);
    EXPECT_EQ(lines().size(), 9u);
    EXPECT_EQ(lines().back(), "50% gray text at (-285,111), \"Next Object\"\n");
    lines().clear();
    draw_button(-290, 137, -195, 102, -285, 111, "Next Object", 1, 0);
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_EQ(lines().back(), "black text at (-284,110), \"Next Object\"\n");
    lines().clear();
    draw_button(-290, 137, -195, 102, -285, 111, "Next Object", 0, 0);
    EXPECT_EQ(lines().size(), 9u);
    EXPECT_EQ(lines().back(), "black text at (-285,111), \"Next Object\"\n");
}

TEST_F(Panel, TheBoxIsFilledGrayWithABlackOutline) {
    zt::set_logging_quietly(true);
    draw_panel_background();
    EXPECT_EQ(lines(), (Lines{
                           "20% gray rectangle with bounding box (-297,248) to (-175,-104), filled\n",
                           "black rectangle with bounding box (-297,248) to (-175,-104) with line width 1\n",
                       }));
    EXPECT_EQ(pixel_at(-297, 0), BLACK);
    EXPECT_EQ(pixel_at(-296, 0), GRAY20);
    EXPECT_EQ(pixel_at(-176, -103), GRAY20);
    EXPECT_EQ(pixel_at(-175, -104), BLACK);
    EXPECT_EQ(pixel_at(-175, 248), BLACK);
    EXPECT_EQ(pixel_at(-174, 0), WHITE);
    EXPECT_EQ(pixel_at(-200, -105), WHITE);
}

// The looks draw_panel gives the seven buttons, read from its log: 'P' pressed (no
// bevel lines), 'd' disabled (gray label), 'p' plain.
std::string looks_of(const Lines& log) {
    std::string looks;
    size_t i = 0;
    while (i < log.size()) {
        const bool pressed = log[i + 2].find(" text at ") != std::string::npos;
        const std::string& label = log[i + (pressed ? 2 : 8)];
        looks += pressed ? 'P' : (label.rfind("50% gray text", 0) == 0 ? 'd' : 'p');
        i += pressed ? 3 : 9;
    }
    return looks;
}

TEST_F(Panel, EachButtonTakesTheLookOfTheModeAndTheLastClick) {
    struct Case {
        EditMode mode;
        int pressed;
        const char* looks;
    };
    const Case cases[] = {
        {MODE_ADD_SHAPE, -1, "Ppdpdpp"},
        {MODE_ADD_MESSAGE, -1, "pPdpdpp"},
        {MODE_SELECT, -1, "ppdpdPp"},
        {MODE_CARD_FULL, -1, "ppdpdpp"},
        {0, -1, "ppppppp"},
        {98, BUTTON_NEXT_OBJECT, "ppPpppp"},
        {5, BUTTON_BACKGROUND_COLOR, "pppPppp"},
        {5, BUTTON_OBJECT_COLOR, "ppppPpp"},
        {5, BUTTON_DELETE_OBJECT, "ppppppP"},
        // With no selection the disabled Next Object drops any click before the
        // buttons below it are drawn.
        {MODE_ADD_SHAPE, BUTTON_BACKGROUND_COLOR, "Ppdpdpp"},
        {MODE_SELECT, BUTTON_DELETE_OBJECT, "ppdpdPp"},
        {MODE_CARD_FULL, BUTTON_OBJECT_COLOR, "ppdpdpp"},
    };
    zt::set_logging_quietly(true);
    for (const Case& c : cases) {
        lines().clear();
        int pressed = c.pressed;
        draw_panel(c.mode, pressed);
        EXPECT_EQ(looks_of(lines()), c.looks) << "mode " << c.mode << ", pressed " << c.pressed;
        EXPECT_EQ(pressed, -1) << "mode " << c.mode << ", pressed " << c.pressed;
    }
    // The labels at their anchors, top to bottom.
    lines().clear();
    int pressed = -1;
    draw_panel(0, pressed);
    ASSERT_EQ(lines().size(), 63u);
    const char* labels[] = {"black text at (-285,204), \"New Shape\"\n",
                            "black text at (-285,166), \"New Message\"\n",
                            "black text at (-285,111), \"Next Object\"\n",
                            "black text at (-285,56), \"Background Color\"\n",
                            "black text at (-285,18), \"Object Color\"\n",
                            "black text at (-285,-37), \"Select Object\"\n",
                            "black text at (-285,-75), \"Delete Object\"\n"};
    for (int b = 0; b < 7; ++b) EXPECT_EQ(lines()[size_t(9 * b + 8)], labels[b]);
}

// The click bands, both ends included, from the panel's own layout.
const int BANDS[7][2] = {{196, 229}, {158, 191}, {103, 136}, {48, 81},
                          {10, 43},   {-45, -12}, {-83, -50}};

TEST_F(Panel, EveryRowFindsTheButtonWhoseBandHoldsIt) {
    for (int y = -120; y <= 260; ++y) {
        int expected = NO_BUTTON;
        for (int b = 0; b < 7; ++b)
            if (BANDS[b][0] <= y && y <= BANDS[b][1]) expected = b;
        EXPECT_EQ(button_at(y), expected) << "y " << y;
    }
}

struct Designer {
    int background = ZORVE_TURQUOISE;
    EditMode mode = MODE_ADD_SHAPE;
    int pressed = -1;
    ObjectTable table;
    Designer() { table_reset(table); }
    void click(int x, int y) { panel_click(x, y, background, mode, pressed, table); }
    int count() const {
        int n = 0;
        while (table[n].state == OBJ_SHAPE || table[n].state == OBJ_MESSAGE) ++n;
        return n;
    }
};

TEST_F(Panel, ModeButtonsSetTheModeAndLeaveThePressedButtonAlone) {
    Designer d;
    object_add_shape(0, 0, d.mode, d.table);
    d.pressed = BUTTON_BACKGROUND_COLOR;
    d.click(-250, 150);  // between Next Object and New Message: nothing
    EXPECT_EQ(d.mode, 0);
    d.click(-250, 175);
    EXPECT_EQ(d.mode, MODE_ADD_MESSAGE);
    d.click(-250, -30);
    EXPECT_EQ(d.mode, MODE_SELECT);
    d.click(-250, 210);
    EXPECT_EQ(d.mode, MODE_ADD_SHAPE);
    EXPECT_EQ(d.pressed, BUTTON_BACKGROUND_COLOR);
    EXPECT_EQ(d.count(), 1);
}

TEST_F(Panel, MomentaryButtonsRecordTheClickEvenWhenTheyHaveNothingToChange) {
    Designer d;
    object_add_shape(0, 0, d.mode, d.table);
    d.mode = MODE_SELECT;
    const CardObject before = d.table[0];
    for (int y : {120, 25, -60}) {  // Next Object, Object Color, Delete Object
        d.pressed = -1;
        d.click(-250, y);
        EXPECT_NE(d.pressed, -1) << "y " << y;
    }
    EXPECT_EQ(d.table[0].kind, before.kind);
    EXPECT_EQ(d.table[0].color, before.color);
    EXPECT_EQ(d.count(), 1);
    EXPECT_EQ(d.mode, MODE_SELECT);
}

TEST_F(Panel, MomentaryButtonsActOnTheSelectedObject) {
    Designer d;
    object_add_shape(0, 0, d.mode, d.table);     // slot 0, a heart
    object_add_message(50, 50, d.mode, d.table);  // slot 1, selected
    d.click(-250, 120);
    EXPECT_EQ(d.pressed, BUTTON_NEXT_OBJECT);
    EXPECT_EQ(d.table[1].kind, 1);  // "Be Mine"
    d.click(-250, 25);
    EXPECT_EQ(d.pressed, BUTTON_OBJECT_COLOR);
    EXPECT_EQ(d.table[1].color, ZORVE_BLUE + 1);
    d.mode = 0;
    d.click(-250, 120);
    EXPECT_EQ(d.table[0].kind, SHAPE_STARBURST);
    EXPECT_EQ(d.table[0].extent_up, 40);
    d.click(-250, -60);
    EXPECT_EQ(d.pressed, BUTTON_DELETE_OBJECT);
    EXPECT_EQ(d.count(), 1);
    EXPECT_EQ(d.table[0].state, OBJ_MESSAGE);  // the message moved down into slot 0
    EXPECT_EQ(d.mode, 0);
    d.click(-250, -60);
    EXPECT_EQ(d.count(), 0);
    EXPECT_EQ(d.mode, MODE_ADD_SHAPE);
}

TEST_F(Panel, BackgroundColorWrapsAndIgnoresTheSelection) {
    Designer d;
    d.background = 23;
    d.click(-250, 60);
    EXPECT_EQ(d.background, 0);
    EXPECT_EQ(d.pressed, BUTTON_BACKGROUND_COLOR);
    object_add_shape(0, 0, d.mode, d.table);
    d.click(-250, 60);
    EXPECT_EQ(d.background, 1);
    EXPECT_EQ(d.table[0].color, ZORVE_RED);
}

TEST_F(Panel, ClicksRightOfTheButtonsDoNothing) {
    Designer d;
    d.mode = MODE_SELECT;
    d.click(-195, 60);  // the buttons' right edge column still counts
    EXPECT_EQ(d.background, ZORVE_TURQUOISE + 1);
    d.pressed = -1;
    d.click(-194, 60);
    d.click(-194, 210);
    EXPECT_EQ(d.background, ZORVE_TURQUOISE + 1);
    EXPECT_EQ(d.mode, MODE_SELECT);
    EXPECT_EQ(d.pressed, -1);
}

}  // namespace
