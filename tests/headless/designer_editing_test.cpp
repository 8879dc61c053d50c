// Editing a card through the real main loop with the control panel: the buttons' looks
// frame by frame, their click bands, the card colour, a full card and deleting.
#include <utility>

#include "designer_person.h"

namespace {

using namespace person;

// A selected heart carries ticks at the corners of its hit box (35 left, 35 down).
bool selected_heart_at(int x, int y) { return screen_at(x - 35, y - 30) == BLACK; }

using DesignerEditing = Designer;

TEST_F(DesignerEditing, MomentaryButtonsLookPressedForExactlyOneFrame) {
    Script s;
    s.click(-80, 100);
    s.click_button(BUTTON_NEW_SHAPE);
    s.click(60, 100);  // two hearts: deleting the second leaves the first selected
    s.check([] { EXPECT_EQ(panel_looks(), "ppppppp"); });
    s.click_button(BUTTON_NEXT_OBJECT);
    s.check([] {
        EXPECT_EQ(panel_looks(), "ppPpppp");
        EXPECT_NE(screen_at(60, 80), RED);  // a starburst now, not a heart
        EXPECT_EQ(screen_at(80, 100), RED);  // its horizontal ray
    });
    s.tick();
    s.check([] { EXPECT_EQ(panel_looks(), "ppppppp"); });
    s.click_button(BUTTON_BACKGROUND_COLOR);
    s.check([] {
        EXPECT_EQ(panel_looks(), "pppPppp");
        EXPECT_EQ(screen_at(0, -100), ORANGE);
    });
    s.tick();
    s.check([] {
        EXPECT_EQ(panel_looks(), "ppppppp");
        EXPECT_EQ(screen_at(0, -100), ORANGE);
    });
    s.click_button(BUTTON_OBJECT_COLOR);
    s.check([] {
        EXPECT_EQ(panel_looks(), "ppppPpp");
        EXPECT_EQ(screen_at(80, 100), GREEN);  // red + 1
    });
    s.tick();
    s.check([] { EXPECT_EQ(panel_looks(), "ppppppp"); });
    s.click_button(BUTTON_DELETE_OBJECT);
    s.check([] {
        EXPECT_EQ(panel_looks(), "ppppppP");
        EXPECT_EQ(screen_at(80, 100), ORANGE);
        EXPECT_TRUE(selected_heart_at(-80, 100));
    });
    s.tick();
    s.check([] { EXPECT_EQ(panel_looks(), "ppppppp"); });

    // With no selection the momentary buttons never show pressed; Background Color
    // still acts, the others change nothing.
    s.click_button(BUTTON_NEW_SHAPE);
    s.check([] {
        EXPECT_EQ(panel_looks(), "Ppdpdpp");
        EXPECT_FALSE(selected_heart_at(-80, 100));
    });
    s.click_button(BUTTON_BACKGROUND_COLOR);
    s.check([] {
        EXPECT_EQ(panel_looks(), "Ppdpdpp");
        EXPECT_EQ(screen_at(0, -100), RGB(153, 102, 51));  // brown
    });
    for (int button : {BUTTON_NEXT_OBJECT, BUTTON_OBJECT_COLOR, BUTTON_DELETE_OBJECT}) {
        s.click_button(button);
        s.check([] {
            EXPECT_EQ(panel_looks(), "Ppdpdpp");
            EXPECT_EQ(screen_at(-80, 100), RED);
            EXPECT_EQ(screen_at(-80, 80), RED);  // still a heart
        });
    }
    // Mode buttons stay pressed as long as their mode lasts.
    s.click_button(BUTTON_NEW_MESSAGE);
    s.tick();
    s.check([] { EXPECT_EQ(panel_looks(), "pPdpdpp"); });
    s.click_button(BUTTON_SELECT_OBJECT);
    s.tick();
    s.check([] { EXPECT_EQ(panel_looks(), "ppdpdPp"); });
    EXPECT_EQ(s.run(), 0);
}

// For every button: a click on its top or bottom edge row does nothing, a click one row
// inside acts. "Acts" is read off the screen as a change of the panel's looks or the
// card's colour between the frame before the click and the frame after it.
TEST_F(DesignerEditing, EachButtonActsOnlyInsideItsEdges) {
    Script s;
    s.click(0, 0);  // a heart to select, change and delete
    struct Seen {
        std::string looks;
        COLORREF card;
    };
    Seen before;
    auto look = [] { return Seen{panel_looks(), screen_at(150, -120)}; };
    for (int b = 0; b < PANEL_BUTTONS; ++b) {
        const int top = button_tops[b], bottom = top - BUTTON_HEIGHT;
        for (auto [y, acts] : {std::pair{top, false}, {bottom, false}, {top - 1, true}, {bottom + 1, true}}) {
            // A state in which the button's action shows.
            if (b == BUTTON_NEW_SHAPE || b == BUTTON_NEW_MESSAGE) {
                s.click_button(BUTTON_SELECT_OBJECT);
            } else if (b == BUTTON_SELECT_OBJECT) {
                s.click_button(BUTTON_NEW_SHAPE);
            } else if (b == BUTTON_DELETE_OBJECT) {
                s.click_button(BUTTON_NEW_SHAPE);
                s.click(0, 0);
            } else {
                s.click_button(BUTTON_SELECT_OBJECT);
                s.click(0, 0);
            }
            s.check([&] { before = look(); });
            s.click(BUTTON_X, y);
            s.check([&, b = b, y = y, acts = acts] {
                const Seen after = look();
                const bool changed = after.looks != before.looks || after.card != before.card;
                EXPECT_EQ(changed, acts) << "button " << b << " at y " << y << ": " << before.looks
                                         << " -> " << after.looks;
            });
        }
    }
    EXPECT_EQ(s.run(), 0);
}

TEST_F(DesignerEditing, BackgroundColorStepsThroughAllColoursAndWraps) {
    Script s;
    for (int i = 1; i <= ZORVE_COLORS; ++i) {
        s.click_button(BUTTON_BACKGROUND_COLOR);
        if (i == 11) s.check([] { EXPECT_EQ(screen_at(0, 0), GRAY20); });  // colour 23
        if (i == 12) s.check([] { EXPECT_EQ(screen_at(0, 0), BLACK); });   // wrapped to 0
        if (i == 13) s.check([] { EXPECT_EQ(screen_at(0, 0), WHITE); });
    }
    s.check([] { EXPECT_EQ(screen_at(0, 0), TURQUOISE); });
    EXPECT_EQ(s.run(), 0);
}

// The status band under the card, where the texts of each mode stand.
bool status_shows(int bottom, int top, COLORREF color) {
    return screen_has(-145, bottom, 150, top, color);
}

TEST_F(DesignerEditing, TheCardIsFullAfter99ObjectsUntilOneIsDeleted) {
    Script s;
    for (int i = 0; i < 99; ++i) {
        s.click(150, 150);
        s.click_button(i % 2 ? BUTTON_NEW_SHAPE : BUTTON_NEW_MESSAGE);
    }
    s.check([] {
        EXPECT_TRUE(status_shows(-188, -176, BLACK));
        EXPECT_FALSE(status_shows(-224, -196, BLUE));
    });
    s.click(-100, -100);
    auto full = [] {
        EXPECT_EQ(screen_at(-100, -100), TURQUOISE);
        EXPECT_EQ(panel_looks(), "ppdpdpp");
        EXPECT_FALSE(status_shows(-188, -176, BLACK));
        EXPECT_TRUE(status_shows(-208, -197, BLUE));  // "You can't add any more ..."
        EXPECT_TRUE(status_shows(-222, -211, BLUE));  // "Use Delete Object ..."
    };
    s.check(full);
    s.click(-100, -100);  // the card ignores clicks now
    s.check(full);
    s.click_button(BUTTON_NEW_SHAPE);
    s.check([] { EXPECT_EQ(panel_looks(), "Ppdpdpp"); });
    s.click(-100, -100);
    s.check(full);
    // Select the top object and delete it: the one below is selected, and a new heart
    // fits again.
    s.click_button(BUTTON_SELECT_OBJECT);
    s.click(155, 155);
    s.check([] { EXPECT_EQ(panel_looks(), "ppppppp"); });
    s.click_button(BUTTON_DELETE_OBJECT);
    s.check([] { EXPECT_EQ(panel_looks(), "ppppppP"); });
    s.click_button(BUTTON_NEW_SHAPE);
    s.click(-100, -100);
    s.check([] {
        EXPECT_EQ(screen_at(-100, -100), RED);
        EXPECT_EQ(panel_looks(), "ppppppp");
        EXPECT_TRUE(status_shows(-188, -176, BLACK));
        EXPECT_FALSE(status_shows(-224, -196, BLUE));
    });
    s.click_button(BUTTON_NEW_SHAPE);
    s.click(-100, 50);
    s.check([] {
        EXPECT_EQ(screen_at(-100, 50), TURQUOISE);
        EXPECT_TRUE(status_shows(-208, -197, BLUE));
    });
    EXPECT_EQ(s.run(), 0);
}

TEST_F(DesignerEditing, DeletingTheMiddleTheLastTheFirstAndTheOnlyObject) {
    const int ax = -80, bx = 0, cx = 80, y = 120;
    Script s;
    auto add_three = [&] {
        for (int x : {ax, bx, cx}) {
            s.click_button(BUTTON_NEW_SHAPE);
            s.click(x, y);
        }
    };
    auto shows = [y](int x) { return screen_at(x, y) == RED; };
    add_three();
    s.click_button(BUTTON_SELECT_OBJECT);
    s.click(bx, y);
    s.check([&] { EXPECT_TRUE(selected_heart_at(bx, y)); });
    s.click_button(BUTTON_DELETE_OBJECT);  // the middle one: the next object is selected
    s.check([&] {
        EXPECT_TRUE(shows(ax) && !shows(bx) && shows(cx));
        EXPECT_TRUE(selected_heart_at(cx, y));
        EXPECT_FALSE(selected_heart_at(ax, y));
    });
    s.click_button(BUTTON_DELETE_OBJECT);  // now the last one: the one below is selected
    s.check([&] {
        EXPECT_TRUE(shows(ax) && !shows(cx));
        EXPECT_TRUE(selected_heart_at(ax, y));
    });
    s.click_button(BUTTON_DELETE_OBJECT);  // the only one: back to adding shapes
    s.check([&] {
        EXPECT_FALSE(shows(ax));
        EXPECT_EQ(panel_looks(), "Ppdpdpp");
    });
    add_three();
    s.click_button(BUTTON_SELECT_OBJECT);
    s.click(ax, y);
    s.click_button(BUTTON_DELETE_OBJECT);  // the first one: the next one takes its slot
    s.check([&] {
        EXPECT_TRUE(!shows(ax) && shows(bx) && shows(cx));
        EXPECT_TRUE(selected_heart_at(bx, y));
        EXPECT_EQ(panel_looks(), "ppppppP");
    });
    EXPECT_EQ(s.run(), 0);
}

}  // namespace
