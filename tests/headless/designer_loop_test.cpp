// The card designer run through its real main loop, used as a person would: what the
// window shows after each click, key and tick, and how the run ends.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "designer_person.h"

namespace {

using namespace person;
using Lines = std::vector<std::string>;

const std::string FRAME_START = "white rectangle with bounding box (-300,250) to (300,-250), filled\n";
const std::string STATUS_ADD = "black text at (-145,-190), \"Click on the card to add a shape\"\n";
const std::string STATUS_SELECTED =
    "black text at (-145,-190), \"Object selected. You can move it, change it, or change its color.\"\n";
const std::string STATUS_SELECT =
    "black text at (-145,-190), \"To select a shape, click on it.  To select a message, click on "
    "its first letter\"\n";

// The log lines of the frame drawn last (logging must be on).
Lines last_frame(const Lines& all) {
    auto start = std::find(all.rbegin(), all.rend(), FRAME_START);
    if (start == all.rend()) return {};
    return Lines(start.base() - 1, all.end());
}

bool has_line(const Lines& frame, const std::string& line) {
    return std::find(frame.begin(), frame.end(), line) != frame.end();
}

int count_prefix(const Lines& frame, const std::string& prefix) {
    return int(std::count_if(frame.begin(), frame.end(),
                             [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

int frames_in(const Lines& all) { return int(std::count(all.begin(), all.end(), FRAME_START)); }

// A selected heart carries ticks at the corners of its hit box (35 left, 35 down).
bool selected_heart_at(int x, int y) { return screen_at(x - 35, y - 30) == BLACK; }

using DesignerLoop = Designer;

TEST_F(DesignerLoop, TheFirstFrameShowsAnEmptyTurquoiseCardInAddShapeMode) {
    Script s;
    s.check([] {
        EXPECT_EQ(screen_at(0, 0), TURQUOISE);
        // The card's painted edges; the screen around it is 50% gray.
        EXPECT_EQ(screen_at(-145, -150), TURQUOISE);
        EXPECT_EQ(screen_at(220, 200), TURQUOISE);
        EXPECT_EQ(screen_at(-146, 0), GRAY50);
        EXPECT_EQ(screen_at(221, 0), GRAY50);
        EXPECT_EQ(screen_at(0, -151), GRAY50);
        EXPECT_EQ(screen_at(0, 201), GRAY50);
        EXPECT_EQ(screen_at(250, 230), GRAY20);  // title band
        EXPECT_EQ(panel_looks(), "Ppdpdpp");       // New Shape pressed, two disabled
        EXPECT_FALSE(IsWindowVisible(zt::snapshot().console_window));
        EXPECT_EQ(zt::snapshot().logging_flag, 0);
        EXPECT_EQ(zt::snapshot().run_flag, 1);
    });
    s.ctrl_key('L');  // logging on: the person reads the next frame's texts
    s.tick();
    s.check([] {
        Lines frame = last_frame(lines());
        EXPECT_TRUE(has_line(frame, STATUS_ADD));
        EXPECT_EQ(count_prefix(frame, "black text at (-145,-190)"), 1);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST_F(DesignerLoop, AClickAddsARedHeartAndTheNextClickMovesIt) {
    Script s;
    s.ctrl_key('L');
    s.click(0, 0);
    s.check([] {
        EXPECT_EQ(screen_at(0, 0), RED);
        EXPECT_EQ(screen_at(0, -20), RED);  // the heart's point
        EXPECT_TRUE(selected_heart_at(0, 0));
        EXPECT_EQ(panel_looks(), "ppppppp");
        Lines frame = last_frame(lines());
        EXPECT_TRUE(has_line(frame, STATUS_SELECTED));
        EXPECT_EQ(count_prefix(frame, "red circle at "), 2);
    });
    s.click(50, 50);
    s.check([] {
        EXPECT_EQ(screen_at(50, 50), RED);
        EXPECT_EQ(screen_at(0, 0), TURQUOISE);
        EXPECT_TRUE(selected_heart_at(50, 50));
        Lines frame = last_frame(lines());
        EXPECT_EQ(count_prefix(frame, "red circle at "), 2);  // moved, not a second heart
        EXPECT_EQ(count_prefix(frame, "red triangle at "), 1);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST_F(DesignerLoop, SelectModeKeepsItsModeOnAMissAndSelectsOnAHit) {
    Script s;
    s.ctrl_key('L');
    s.click(0, 0);
    s.click_button(BUTTON_SELECT_OBJECT);
    s.check([] {
        EXPECT_EQ(panel_looks(), "ppdpdPp");
        EXPECT_FALSE(selected_heart_at(0, 0));  // choosing a mode drops the selection
        EXPECT_TRUE(has_line(last_frame(lines()), STATUS_SELECT));
    });
    s.click(100, -100);
    s.check([] {
        EXPECT_EQ(panel_looks(), "ppdpdPp");
        EXPECT_TRUE(has_line(last_frame(lines()), STATUS_SELECT));
    });
    s.click(0, 16);  // just inside the heart's hit box
    s.check([] {
        EXPECT_EQ(panel_looks(), "ppppppp");
        EXPECT_TRUE(selected_heart_at(0, 0));
        EXPECT_TRUE(has_line(last_frame(lines()), STATUS_SELECTED));
    });
    EXPECT_EQ(s.run(), 0);
}

TEST_F(DesignerLoop, ClicksAreSortedByRegionAtTheExactEdges) {
    Script s;
    // Background Color's band, just right of the panel region and just inside it.
    s.click(-195, 60);
    s.check([] { EXPECT_EQ(screen_at(0, 0), TURQUOISE); });
    s.click(-196, 60);
    s.check([] { EXPECT_EQ(screen_at(0, 0), ORANGE); });
    s.click(-290, 60);
    s.check([] { EXPECT_EQ(screen_at(0, 0), ORANGE); });
    s.click(-289, 60);
    s.check([] { EXPECT_EQ(screen_at(0, 0), RGB(153, 102, 51)); });  // brown
    // Just outside the card on each side: no heart, still adding.
    for (auto [x, y] : {std::pair{-146, 0}, {-145, -151}, {220, 0}, {0, 200}}) {
        s.click(x, y);
        s.check([x = x, y = y] {
            EXPECT_EQ(panel_looks(), "Ppdpdpp") << x << "," << y;
            EXPECT_NE(screen_at(x, y), RED) << x << "," << y;
        });
    }
    // The card's own lower-left and upper-right corners.
    s.click(-145, -150);
    s.check([] {
        EXPECT_EQ(panel_looks(), "ppppppp");
        EXPECT_EQ(screen_at(-145, -150), RED);
    });
    s.click_button(BUTTON_NEW_SHAPE);
    s.click(219, 199);
    s.check([] {
        EXPECT_EQ(panel_looks(), "ppppppp");
        EXPECT_EQ(screen_at(219, 199), RED);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST_F(DesignerLoop, KeysAndTicksRedrawWithoutChangingAnything) {
    Script s;
    int frames_before = 0;
    s.ctrl_key('L');
    s.click(30, 40);
    s.check([&] { frames_before = frames_in(lines()); });
    s.type("x");
    s.check([&] {
        EXPECT_EQ(frames_in(lines()), frames_before + 1);
        EXPECT_EQ(panel_looks(), "ppppppp");
        EXPECT_TRUE(selected_heart_at(30, 40));
    });
    s.tick();
    s.check([&] {
        EXPECT_EQ(frames_in(lines()), frames_before + 2);
        EXPECT_EQ(panel_looks(), "ppppppp");
        EXPECT_TRUE(selected_heart_at(30, 40));
        EXPECT_TRUE(has_line(last_frame(lines()), STATUS_SELECTED));
    });
    EXPECT_EQ(s.run(), 0);
}

// Quitting by each of the person's ways ends the loop at once: no frame after the quit,
// the runtime stopped (its window DC released) and the result 0.
TEST_F(DesignerLoop, QuitEndsTheLoopAndStopsTheRuntime) {
    enum Way { MENU, CTRL_Q, CLOSE };
    for (Way way : {MENU, CTRL_Q, CLOSE}) {
        SetUp();
        Script s;
        size_t lines_at_quit = 0;
        s.ctrl_key('L');
        s.click(0, 0);
        s.action([&, way] {
            lines_at_quit = lines().size();
            if (way == MENU) hl::menu_command(zt::snapshot().graphics_window, MENU_QUIT);
            if (way == CTRL_Q) hl::press_ctrl_key(zt::snapshot().graphics_window, 'Q');
            if (way == CLOSE) hl::close_window(zt::snapshot().graphics_window);
        });
        EXPECT_EQ(s.run(), 0) << "way " << way;
        EXPECT_GT(lines_at_quit, 0u);
        EXPECT_EQ(lines().size(), lines_at_quit) << "way " << way;
        EXPECT_EQ(GetPixel(zt::snapshot().window_dc, 0, 0), CLR_INVALID) << "way " << way;
        TearDown();
    }
}

// One button's log lines as the panel draws it.
Lines button_lines(const char* label, int top, bool pressed) {
    const int bottom = top - 35;
    auto f = [](const char* fmt, auto... v) {
        char buffer[200];
        std::snprintf(buffer, sizeof buffer, fmt, v...);
        return std::string(buffer);
    };
    Lines l = {f("20%% gray rectangle with bounding box (-290,%d) to (-195,%d), filled\n", top, bottom),
               f("black rectangle with bounding box (-290,%d) to (-195,%d) with line width 1\n", top, bottom)};
    if (!pressed) {
        l.push_back(f("black line from (-290,%d) to (-194,%d), width 1\n", bottom + 1, bottom + 1));
        l.push_back(f("50%% gray line from (-289,%d) to (-195,%d), width 1\n", bottom + 2, bottom + 2));
        l.push_back(f("black line from (-196,%d) to (-196,%d), width 1\n", bottom + 2, top));
        l.push_back(f("50%% gray line from (-197,%d) to (-197,%d), width 1\n", bottom + 2, top));
        l.push_back(f("white line from (-289,%d) to (-196,%d), width 1\n", top - 1, top - 1));
        l.push_back(f("white line from (-289,%d) to (-289,%d), width 1\n", bottom + 3, top - 1));
    }
    const int dx = pressed ? 1 : 0;
    l.push_back(f("black text at (%d,%d), \"%s\"\n", -285 + dx, top - 26 - dx, label));
    return l;
}

TEST_F(DesignerLoop, WithLoggingOnAFrameLogsItsDrawingsInDrawingOrder) {
    Script s;
    s.click_button(BUTTON_NEW_MESSAGE);
    s.click(0, 0);  // a message: the one object whose lines hold no random size
    s.ctrl_key('L');
    auto expected = [](bool next_pressed, const char* text) {
        Lines l = {
            FRAME_START,
            "50% gray rectangle with bounding box (-300,250) to (300,-250), filled\n",
            "20% gray rectangle with bounding box (-300,250) to (300,204), filled\n",
            "white text at (-116,211), \"Cordelune!\"\n",
            "black text at (-114,209), \"Cordelune!\"\n",
            "50% gray text at (-115,210), \"Cordelune!\"\n",
            "20% gray rectangle with bounding box (-297,248) to (-175,-104), filled\n",
            "black rectangle with bounding box (-297,248) to (-175,-104) with line width 1\n",
            "turquoise rectangle with bounding box (-145,200) to (220,-150), filled\n",
            std::string("blue text at (0,0), \"") + text + "\"\n",
            "black line from (0,0) to (0,5), width 1\n",
            "black line from (0,0) to (10,0), width 1\n",
            "black line from (0,20) to (0,15), width 1\n",
            "black line from (0,20) to (10,20), width 1\n",
            STATUS_SELECTED,
        };
        const char* labels[] = {"New Shape",    "New Message",   "Next Object",  "Background Color",
                                "Object Color", "Select Object", "Delete Object"};
        const int tops[] = {230, 192, 137, 82, 44, -11, -49};
        for (int b = 0; b < 7; ++b) {
            Lines button = button_lines(labels[b], tops[b], b == 2 && next_pressed);
            l.insert(l.end(), button.begin(), button.end());
        }
        return l;
    };
    s.tick();
    s.check([&] { EXPECT_EQ(last_frame(lines()), expected(false, "LUV U")); });
    s.click_button(BUTTON_NEXT_OBJECT);
    s.check([&] { EXPECT_EQ(last_frame(lines()), expected(true, "Be Mine")); });
    s.tick();
    s.check([&] { EXPECT_EQ(last_frame(lines()), expected(false, "Be Mine")); });
    EXPECT_EQ(s.run(), 0);
}

}  // namespace
