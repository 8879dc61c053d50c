/* paint: freehand drawing. Hold the left button and move to draw; hold the right
 * button to rub out. The keys 0 to 9 pick one of the ten colours along the top, the
 * arrow keys up and down make the pen wider and narrower, and c clears the paper. The
 * pen's width and colour are shown centred at the bottom. Uses the extra input:
 * ZORVE_wait_input with the mouse's moves and releases, and ZORVE_text_width. */
#include <stdio.h>

#include "zorve.h"

#define PAPER_TOP 205    /* the swatches above, the status line below */
#define PAPER_BOTTOM -215
#define MAX_WIDTH 30
#define ERASER 24

static const int colours[10] = {ZORVE_BLACK, ZORVE_RED, ZORVE_ORANGE, ZORVE_GOLD, ZORVE_GREEN,
                                ZORVE_FOREST_GREEN, ZORVE_CYAN, ZORVE_BLUE, ZORVE_PURPLE, ZORVE_MAGENTA};
static const char* const colour_names[10] = {"black", "red",  "orange", "gold",   "green",
                                              "forest green", "cyan", "blue", "purple", "magenta"};

static void draw_swatches(int chosen)
{
    int i;
    ZORVE_draw_rect(ZORVE_WHITE, -297, 248, 297, PAPER_TOP + 1, 0);
    for (i = 0; i < 10; i++) {
        int left = -280 + 57 * i;
        ZORVE_draw_rect(i == chosen ? ZORVE_BLACK : ZORVE_GRAY_20, left - 3, 243, left + 47, 209, 0);
        ZORVE_draw_rect(colours[i], left, 240, left + 44, 212, 0);
        ZORVE_draw_textf(i == 3 || i == 6 ? ZORVE_BLACK : ZORVE_WHITE, left + 17, 216, 18, "%d", i);
    }
}

static void draw_status(int width, int colour)
{
    char text[64];
    ZORVE_draw_rect(ZORVE_GRAY_20, -297, PAPER_BOTTOM - 1, 297, -248, 0);
    /* Centred by its measured width, exact to the pixel. */
    sprintf(text, "pen %d wide, %s", width, colour_names[colour]);
    ZORVE_draw_text(ZORVE_BLACK, -ZORVE_text_width(18, text) / 2, -244, 18, text);
}

static int on_paper(int y) { return y < PAPER_TOP && y > PAPER_BOTTOM; }

static void clear_paper(void)
{
    ZORVE_clear();
    ZORVE_draw_line(ZORVE_GRAY_50, -297, PAPER_TOP, 297, PAPER_TOP, 1);
}

int main(void)
{
    ZorveInput in;
    int colour = 0, width = 4;
    int drawing = 0, erasing = 0, last_x = 0, last_y = 0;

    ZORVE_start(0, 0, "", 1);
    ZORVE_set_logging(0);
    clear_paper();
    draw_swatches(colour);
    draw_status(width, colour);
    while (ZORVE_wait_input(&in) != ZORVE_QUIT) {
        switch (in.kind) {
        case ZORVE_MOUSE:
            if (!on_paper(in.y))
                break;
            drawing = in.button == 1;
            erasing = in.button == 2;
            last_x = in.x;
            last_y = in.y;
            if (drawing)
                ZORVE_draw_circle(colours[colour], in.x, in.y, width / 2);
            if (erasing)
                ZORVE_draw_circle(ZORVE_WHITE, in.x, in.y, ERASER / 2);
            break;
        case ZORVE_MOTION:
            if (drawing || erasing) {
                /* Lines between the points the mouse passed: a stroke has no gaps. */
                ZORVE_draw_line(erasing ? ZORVE_WHITE : colours[colour], last_x, last_y, in.x, in.y,
                                erasing ? ERASER : width);
                /* Strokes stay on the paper: a stroke near its edge redraws what is beyond. */
                if (in.y + ERASER > PAPER_TOP || last_y + ERASER > PAPER_TOP)
                    draw_swatches(colour);
                if (in.y - ERASER < PAPER_BOTTOM || last_y - ERASER < PAPER_BOTTOM)
                    draw_status(width, colour);
                last_x = in.x;
                last_y = in.y;
            }
            break;
        case ZORVE_RELEASE:
            drawing = erasing = 0;
            break;
        case ZORVE_KBD:
            if (in.key >= '0' && in.key <= '9') {
                colour = in.key - '0';
                draw_swatches(colour);
            } else if (in.key == 'c') {
                clear_paper();
                draw_swatches(colour);
            }
            draw_status(width, colour);
            break;
        case ZORVE_KEY:
            if (in.key == ZORVE_KEY_UP && width < MAX_WIDTH)
                width++;
            if (in.key == ZORVE_KEY_DOWN && width > 1)
                width--;
            draw_status(width, colour);
            break;
        default:
            break;
        }
    }
    ZORVE_stop();
    return 0;
}
