// The drawing calls: corrections and their messages, log lines, and what lands on the
// canvas. These run against our GDI and, in the Windows build, against Wine's.
#include <climits>
#include <string>

#include "runtime_fixture.h"

namespace {

using fixture::pixel_at;
using Lines = std::vector<std::string>;

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

class Draw : public fixture::Canvas {};

// Which of the runtime points in a square around (cx, cy) have the given colour.
std::string footprint(int cx, int cy, int reach, COLORREF color) {
    std::string rows;
    for (int y = cy + reach; y >= cy - reach; --y) {
        for (int x = cx - reach; x <= cx + reach; ++x) rows += pixel_at(x, y) == color ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

TEST_F(Draw, IllegalColourIsReportedAndDrawnRed) {
    zt::set_logging_quietly(true);
    EXPECT_EQ(ZORVE_draw_pixel(24, 3, 4), 1);
    EXPECT_EQ(ZORVE_draw_pixel(-1, 5, 6), 1);
    EXPECT_EQ(lines(), (Lines{"Illegal color 24; using RED.\n", "red pixel at (3,4)\n",
                              "Illegal color -1; using RED.\n", "red pixel at (5,6)\n"}));
    EXPECT_EQ(pixel_at(3, 4), RED);
    EXPECT_EQ(pixel_at(5, 6), RED);
}

TEST_F(Draw, CorrectionsAreAnnouncedWithLoggingOff) {
    ZORVE_draw_circle(ZORVE_BLUE, 0, 0, -5);
    ZORVE_draw_line(ZORVE_BLUE, 0, 0, 10, 0, -3);
    ZORVE_draw_pixel(99, 0, 0);
    EXPECT_EQ(lines(), (Lines{"Radius of -5 not possible, using radius 5\n",
                              "Width of -3 not possible, using width 3\n",
                              "Illegal color 99; using RED.\n"}));
}

TEST_F(Draw, CorrectionOrderDependsOnTheCall) {
    ZORVE_draw_rect(30, 0, 0, 5, 5, -1);
    ZORVE_draw_oval(30, 0, 0, 5, 5, -1);
    ZORVE_draw_line(30, 0, 0, 5, 5, -1);
    ZORVE_draw_triangle(30, 0, 0, 5, 5, 0, 5, -1);
    const std::string colour = "Illegal color 30; using RED.\n";
    const std::string width = "Width of -1 not possible, using width 1\n";
    EXPECT_EQ(lines(), (Lines{colour, width, width, colour, width, colour, colour, width}));
}

TEST_F(Draw, LogLinesOfEveryCall) {
    zt::set_logging_quietly(true);
    ZORVE_draw_circle(ZORVE_GREEN, 1, 2, 3);
    ZORVE_draw_triangle(ZORVE_PURPLE, 1, 2, 3, 4, 5, 6, 0);
    ZORVE_draw_rect(ZORVE_OLIVE, 0, 0, 4, -4, 0);
    ZORVE_draw_rect(ZORVE_OLIVE, 0, 0, 4, -4, 2);
    ZORVE_draw_oval(ZORVE_GRAY_50, 0, 0, 4, -4, 0);
    ZORVE_draw_oval(ZORVE_GRAY_20, 0, 0, 4, -4, 3);
    ZORVE_draw_line(ZORVE_NAVY_BLUE, 1, 2, 3, 4, 0);
    ZORVE_draw_text(ZORVE_BLACK, 7, 8, 12, "Hi");
    ZORVE_clear();
    EXPECT_EQ(lines(),
              (Lines{"green circle at (1,2), radius 3\n",
                     "purple triangle at (1,2), (3,4), (5,6)\n",
                     "olive rectangle with bounding box (0,0) to (4,-4), filled\n",
                     "olive rectangle with bounding box (0,0) to (4,-4) with line width 2\n",
                     "50% gray oval with bounding box (0,0) to (4,-4), filled\n",
                     "20% gray oval with bounding box (0,0) to (4,-4), line width 3\n",
                     "navy blue line from (1,2) to (3,4), width 0\n",
                     "black text at (7,8), \"Hi\"\n", "Clearing the graphics window\n"}));
}

TEST_F(Draw, RectangleCornersAreSorted) {
    zt::set_logging_quietly(true);
    ZORVE_draw_rect(ZORVE_BLUE, 10, -5, -10, 5, 0);
    const std::string swapped = footprint(0, 0, 12, BLUE);
    ZORVE_clear();
    ZORVE_draw_rect_pt(ZORVE_BLUE, {-10, 5}, {10, -5}, 0);
    EXPECT_EQ(footprint(0, 0, 12, BLUE), swapped);
    EXPECT_EQ(lines()[0], "blue rectangle with bounding box (-10,5) to (10,-5), filled\n");
    EXPECT_EQ(lines()[2], lines()[0]);
    EXPECT_EQ(pixel_at(-10, 5), BLUE);
    EXPECT_EQ(pixel_at(10, -5), BLUE);
    EXPECT_EQ(pixel_at(11, 0), WHITE);
    EXPECT_EQ(pixel_at(0, 6), WHITE);
}

TEST_F(Draw, SmallestFiguresCoverTheirWholeBox) {
    ZORVE_draw_rect(ZORVE_RED, -1, 1, 1, -1, 0);
    EXPECT_EQ(footprint(0, 0, 2, RED),
              ".....\n"
              ".###.\n"
              ".###.\n"
              ".###.\n"
              ".....\n");
    // A circle of radius 0 asks for an ellipse in the one-pixel box at its centre; GDI's
    // ellipse of a 1 x 1 box leaves out its right column and bottom row, so at most the
    // centre is painted, never a neighbour.
    ZORVE_clear();
    ZORVE_draw_circle(ZORVE_RED, 0, 0, 0);
    const std::string dot = footprint(0, 0, 1, RED);
    EXPECT_TRUE(dot == "...\n...\n...\n" || dot == "...\n.#.\n...\n") << dot;
    ZORVE_draw_circle(ZORVE_RED, 0, 0, 1);
    EXPECT_EQ(pixel_at(0, 0), RED);
    EXPECT_EQ(pixel_at(2, 0), WHITE);
}

TEST_F(Draw, FilledAndOutlinedRectangles) {
    ZORVE_draw_rect(ZORVE_RED, -20, 20, 20, -20, 0);
    EXPECT_EQ(pixel_at(0, 0), RED);
    ZORVE_clear();
    ZORVE_draw_rect(ZORVE_RED, -20, 20, 20, -20, 2);
    EXPECT_EQ(pixel_at(0, 0), WHITE);  // an outline has no fill
    EXPECT_EQ(pixel_at(-20, 0), RED);
    EXPECT_EQ(pixel_at(20, 0), RED);
    EXPECT_EQ(pixel_at(0, 20), RED);
    EXPECT_EQ(pixel_at(-17, 0), WHITE);
}

TEST_F(Draw, LineWidths) {
    // Width 0 is drawn one pixel wide; -3 is corrected to 3.
    ZORVE_draw_line(ZORVE_RED, -20, 0, 20, 0, 0);
    EXPECT_EQ(pixel_at(0, 0), RED);
    EXPECT_EQ(pixel_at(0, 1), WHITE);
    EXPECT_EQ(pixel_at(0, -1), WHITE);
    EXPECT_EQ(pixel_at(20, 0), WHITE);  // the end point is left out
    ZORVE_clear();
    ZORVE_draw_line(ZORVE_RED, -20, 0, 20, 0, -3);
    EXPECT_EQ(pixel_at(0, 1), RED);
    EXPECT_EQ(pixel_at(0, -1), RED);
    EXPECT_EQ(pixel_at(0, 2), WHITE);
    EXPECT_EQ(pixel_at(0, -2), WHITE);
}

TEST_F(Draw, CircleWithNegativeRadiusIsAFilledDisc) {
    ZORVE_draw_circle(ZORVE_BLUE, 0, 0, -5);
    EXPECT_EQ(pixel_at(0, 0), BLUE);
    EXPECT_EQ(pixel_at(5, 0), BLUE);
    EXPECT_EQ(pixel_at(-5, 0), BLUE);
    EXPECT_EQ(pixel_at(0, 5), BLUE);
    EXPECT_EQ(pixel_at(0, -5), BLUE);
    EXPECT_EQ(pixel_at(6, 0), WHITE);
    EXPECT_EQ(pixel_at(5, 5), WHITE);
}

TEST_F(Draw, TriangleFilledAndOutlined) {
    ZORVE_draw_triangle(ZORVE_RED, -20, -10, 20, -10, 0, 20, 0);
    EXPECT_EQ(pixel_at(0, 0), RED);
    EXPECT_EQ(pixel_at(0, 21), WHITE);
    ZORVE_clear();
    ZORVE_draw_triangle(ZORVE_RED, -20, -10, 20, -10, 0, 20, 1);
    EXPECT_EQ(pixel_at(0, 0), WHITE);
    EXPECT_EQ(pixel_at(0, -10), RED);
}

TEST_F(Draw, TextSizeCorrections) {
    ZORVE_draw_text(ZORVE_BLACK, 0, 0, -200, "x");
    ZORVE_draw_text(ZORVE_BLACK, 0, 0, 127, "x");
    ZORVE_draw_text(ZORVE_BLACK, 0, 0, 128, "x");
    ZORVE_draw_text(ZORVE_BLACK, 0, 0, INT_MIN, "x");
    EXPECT_EQ(lines(), (Lines{"ptsize of -200 not possible, using ptsize 200\n",
                              "ptsize of 200 not possible, using ptsize 127\n",
                              "ptsize of 128 not possible, using ptsize 127\n",
                              "ptsize of -2147483648 not possible, using ptsize 2147483647\n",
                              "ptsize of 2147483647 not possible, using ptsize 127\n"}));
}

TEST_F(Draw, MostNegativeWidthAndRadiusBecomeTheLargest) {
    ZORVE_draw_rect(ZORVE_RED, -5, 5, 5, -5, INT_MIN);
    ZORVE_draw_circle(ZORVE_RED, 0, 0, INT_MIN);
    EXPECT_EQ(lines(), (Lines{"Width of -2147483648 not possible, using width 2147483647\n",
                              "Radius of -2147483648 not possible, using radius 2147483647\n"}));
    EXPECT_EQ(pixel_at(0, 0), RED);  // the huge disc covers the canvas
}

TEST_F(Draw, TextfReturnsTheFormattedLength) {
    EXPECT_EQ(ZORVE_draw_textf(ZORVE_BLACK, 0, 0, 20, "%s-%03d", "abcd", 7), 8);
    EXPECT_EQ(ZORVE_draw_textf(77, 0, 0, -300, "%d", 1234567), 7);
    EXPECT_EQ(lines().size(), 3u);  // colour and two size messages, from the text call
    EXPECT_EQ(ZORVE_draw_textf_pt(ZORVE_BLACK, {0, 0}, 20, "%c%c", 'o', 'k'), 2);
}

TEST_F(Draw, LongFormattedTextIsCutNotOverrun) {
    std::string long_text(5000, 'w');
    zt::set_logging_quietly(true);
    EXPECT_EQ(ZORVE_draw_textf(ZORVE_BLACK, -290, 0, 8, "%s", long_text.c_str()), 5000);
    EXPECT_EQ(ZORVE_draw_textf_pt(ZORVE_BLACK, {-290, 0}, 8, "<%s>", long_text.c_str()), 5002);
    ASSERT_EQ(lines().size(), 2u);
    // The log line is bounded by the console's buffer as well.
    EXPECT_EQ(lines()[0].size(), size_t(CONSOLE_BUFFER_SIZE - 1));
    EXPECT_EQ(lines()[0].rfind("black text at (-290,0), \"www", 0), 0u);
    EXPECT_EQ(ZORVE_draw_text(ZORVE_BLACK, -290, -40, 8, long_text.c_str()), 1);
}

TEST_F(Draw, UndoOnlySaysItIsUnsupported) {
    ZORVE_draw_pixel(ZORVE_RED, 0, 0);
    EXPECT_EQ(ZORVE_undo(), 1);
    zt::set_logging_quietly(true);
    EXPECT_EQ(ZORVE_undo(), 1);
    EXPECT_EQ(lines(), (Lines{"ZORVE_undo is no longer supported.\n",
                              "ZORVE_undo is no longer supported.\n"}));
    EXPECT_EQ(pixel_at(0, 0), RED);
}

TEST_F(Draw, ClearWithLoggingOffIsSilentAndPaintsTheFrame) {
    ZORVE_draw_rect(ZORVE_RED, -100, 100, 100, -100, 0);
    zt::pretend_canvas_shown();
    EXPECT_EQ(ZORVE_clear(), 1);
    EXPECT_TRUE(lines().empty());
    EXPECT_EQ(zt::snapshot().canvas_dirty, 1);
    EXPECT_EQ(pixel_at(0, 0), WHITE);
    const HDC canvas = zt::snapshot().canvas_dc;
    EXPECT_EQ(GetPixel(canvas, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(canvas, 300, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(canvas, 0, 300), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(canvas, 600, 539), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(canvas, 1, 1), WHITE);
    EXPECT_EQ(GetPixel(canvas, 599, 538), WHITE);
}

TEST_F(Draw, PointsMapAroundTheOrigin) {
    const zt::Snapshot s = zt::snapshot();
    ZORVE_draw_pixel(ZORVE_RED, 0, 0);
    EXPECT_EQ(GetPixel(s.canvas_dc, s.origin_x, s.origin_y), RED);
    ZORVE_draw_pixel_pt(ZORVE_BLUE, {10, 20});
    EXPECT_EQ(GetPixel(s.canvas_dc, s.origin_x + 10, s.origin_y - 20), BLUE);
    // Far outside the canvas: clipped, nothing wraps round.
    ZORVE_draw_pixel(ZORVE_BLUE, INT_MAX, INT_MIN);
    ZORVE_draw_pixel(ZORVE_BLUE, -400, 0);
    EXPECT_EQ(GetPixel(s.canvas_dc, 1, s.origin_y), WHITE);
}

TEST_F(Draw, EveryRecordMarksTheCanvasDirty) {
    zt::pretend_canvas_shown();
    ZORVE_draw_text(ZORVE_BLACK, 0, 0, 12, "");
    EXPECT_EQ(zt::snapshot().canvas_dirty, 1);
    zt::pretend_canvas_shown();
    DrawRecord unknown{};
    unknown.kind = 7;
    unknown.color = ZORVE_RED;
    render_record(unknown);
    EXPECT_EQ(zt::snapshot().canvas_dirty, 1);
    zt::pretend_canvas_shown();
    ZORVE_draw_pixel(ZORVE_RED, 5000, 5000);
    EXPECT_EQ(zt::snapshot().canvas_dirty, 1);
}

// Rows of the canvas (in canvas pixels) that hold ink: pixels inside the black frame
// that are not the background. Glyph edges are anti-aliased, so any tint counts.
std::pair<int, int> ink_rows(COLORREF background = WHITE) {
    const HDC canvas = zt::snapshot().canvas_dc;
    int top = -1, bottom = -1;
    for (int y = 1; y < CANVAS_HEIGHT - 1; ++y)
        for (int x = 1; x < CANVAS_WIDTH - 1; ++x)
            if (GetPixel(canvas, x, y) != background) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
    return {top, bottom};
}

int cell_height(int ptsize) {
    HFONT font = CreateFontA(-ptsize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "ZORVE-font");
    const HDC canvas = zt::snapshot().canvas_dc;
    HGDIOBJ previous = SelectObject(canvas, font);
    SIZE extent{};
    GetTextExtentPoint32A(canvas, "M", 1, &extent);
    SelectObject(canvas, previous);
    DeleteObject(font);
    return extent.cy;
}

TEST_F(Draw, TextLinesStandAboveTheAnchorAndStepDown) {
    const int h = cell_height(20);
    ASSERT_GT(h, 15);
    ZORVE_draw_text(ZORVE_RED, -100, 0, 20, "MH");
    auto one = ink_rows();
    // The first line's cell ends just above the anchor's row.
    const int origin_y = zt::snapshot().origin_y;
    EXPECT_GE(one.first, origin_y - h);
    EXPECT_LT(one.second, origin_y);
    EXPECT_GT(one.second, origin_y - h / 2);

    ZORVE_clear();
    ZORVE_draw_text(ZORVE_RED, -100, 0, 20, "MH\nMH");
    auto two = ink_rows();
    EXPECT_EQ(two.first, one.first);
    EXPECT_EQ(two.second, one.second + h);

    // A trailing newline adds an empty line: the same pixels as without it.
    ZORVE_clear();
    ZORVE_draw_text(ZORVE_RED, -100, 0, 20, "MH\n");
    EXPECT_EQ(ink_rows(), one);

    // An empty first line still takes its step.
    ZORVE_clear();
    ZORVE_draw_text(ZORVE_RED, -100, 0, 20, "\nMH");
    auto shifted = ink_rows();
    EXPECT_EQ(shifted.first, one.first + h);
}

TEST_F(Draw, TextIsDrawnInItsColourOnlyWhereGlyphsAre) {
    ZORVE_draw_rect(ZORVE_YELLOW, -150, 50, 150, -50, 0);
    ZORVE_draw_text(ZORVE_BLUE, -100, 0, 30, "HH");
    // Stems of a 30-pixel H are wider than a pixel: some pixels are exactly blue.
    int blue = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = -100; x < 0; ++x) blue += pixel_at(x, y) == BLUE;
    EXPECT_GT(blue, 20);
    // Transparent: the yellow around the letters stays.
    EXPECT_EQ(pixel_at(-140, 10), RGB(255, 255, 0));
    EXPECT_EQ(pixel_at(-101, 10), RGB(255, 255, 0));
    EXPECT_EQ(pixel_at(-100, -3), RGB(255, 255, 0));
}

TEST_F(Draw, TextOfDefaultSizeIsStillDrawn) {
    ZORVE_draw_text(ZORVE_RED, -100, 0, 0, "HHHH");
    auto rows = ink_rows();
    EXPECT_GT(rows.first, 0);
    EXPECT_LT(rows.second, zt::snapshot().origin_y);
}

}  // namespace

namespace {

TEST_F(Draw, NullTextsAndFormatsDrawNothingAndSaySo) {
    ZORVE_set_logging(1);
    ZORVE_draw_rect(ZORVE_BLUE, -20, 20, 20, -20, 0);
    lines().clear();
    EXPECT_EQ(ZORVE_draw_text(ZORVE_RED, -10, 0, 12, nullptr), 1);
    EXPECT_EQ(ZORVE_draw_text_pt(40, {-10, 0}, -5, nullptr), 1);
    EXPECT_EQ(ZORVE_draw_textf(ZORVE_RED, -10, 0, 12, nullptr), 0);
    EXPECT_EQ(ZORVE_draw_textf_pt(ZORVE_RED, {-10, 0}, 12, nullptr), 0);
    EXPECT_EQ(ZORVE_console_printf(nullptr), 0);
    EXPECT_EQ(lines(), (Lines{"NULL text not possible, drawing nothing\n",
                              "ptsize of -5 not possible, using ptsize 5\n",  // corrections first
                              "Illegal color 40; using RED.\n",
                              "NULL text not possible, drawing nothing\n",
                              "NULL format not possible, drawing nothing\n",
                              "NULL format not possible, drawing nothing\n",
                              "NULL format not possible, printing nothing\n"}));
    for (int x = -15; x <= 15; x += 5) EXPECT_EQ(fixture::pixel_at(x, 0), RGB(0, 0, 255));
    ZORVE_set_logging(0);
}

}  // namespace
