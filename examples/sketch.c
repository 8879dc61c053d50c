/* sketch: drawing with the mouse on graph paper that shows the coordinates.
 * Each click draws a line from the click before; keys:
 *   n  lift the pen (the next click starts a new line)
 *   1 to 6  choose the colour
 *   c  clear the paper
 *   s  save the picture as sketch.png */
#include "zorve.h"

#define GRID 50
#define PEN_WIDTH 3
#define DOT_RADIUS 3
#define PICTURE_FILE "sketch.png"

static const int COLOURS[6] = {ZORVE_RED, ZORVE_BLUE, ZORVE_FOREST_GREEN,
                               ZORVE_ORANGE, ZORVE_PURPLE, ZORVE_BLACK};

/* Graph paper: a grid every 50 pixels, the axes through the origin, and the
 * coordinates of the corners that the window shows. */
static void draw_paper(void)
{
    int i;
    ZORVE_clear();
    for (i = -5 * GRID; i <= 5 * GRID; i += GRID)
        ZORVE_draw_line(ZORVE_GRAY_20, i, 248, i, -248, 1);
    for (i = -4 * GRID; i <= 4 * GRID; i += GRID)
        ZORVE_draw_line(ZORVE_GRAY_20, -298, i, 298, i, 1);
    ZORVE_draw_line(ZORVE_GRAY_50, -298, 0, 298, 0, 1);
    ZORVE_draw_line(ZORVE_GRAY_50, 0, 249, 0, -248, 1);
    for (i = -2; i <= 2; i++) {
        if (i == 0)
            continue;
        ZORVE_draw_textf(ZORVE_GRAY_50, i * 100 + 3, 3, 10, "%d", i * 100);
        ZORVE_draw_textf(ZORVE_GRAY_50, 3, i * 100 + 3, 10, "%d", i * 100);
    }
    ZORVE_draw_text(ZORVE_GRAY_50, 3, 3, 10, "(0, 0)");
    ZORVE_draw_text(ZORVE_GRAY_50, -294, 234, 10, "(-297, 248)");
    ZORVE_draw_text(ZORVE_GRAY_50, 240, -245, 10, "(297, -247)");
    ZORVE_draw_text(ZORVE_BLACK, -294, -245, 12,
                    "click: draw   n: new line   1-6: colour   c: clear   s: save");
}

int main(void)
{
    char command_line[] = "";
    int x, y, kind;
    char key;
    int last_x = 0, last_y = 0;
    int pen_down = 0;
    int colour = COLOURS[0];

    ZORVE_start(0, 0, command_line, 1);
    ZORVE_set_logging(0);
    draw_paper();

    for (;;) {
        kind = ZORVE_wait_event_xy(&x, &y, &key);
        if (kind == ZORVE_QUIT)
            break;
        if (kind == ZORVE_MOUSE) {
            if (pen_down)
                ZORVE_draw_line(colour, last_x, last_y, x, y, PEN_WIDTH);
            ZORVE_draw_circle(colour, x, y, DOT_RADIUS);
            last_x = x;
            last_y = y;
            pen_down = 1;
        } else if (kind == ZORVE_KBD) {
            if (key == 'n') {
                pen_down = 0;
            } else if (key >= '1' && key <= '6') {
                colour = COLOURS[key - '1'];
            } else if (key == 'c') {
                draw_paper();
                pen_down = 0;
            } else if (key == 's') {
                if (ZORVE_save_picture(PICTURE_FILE))
                    ZORVE_console_printf("saved %s", PICTURE_FILE);
            }
        }
    }
    ZORVE_stop();
    return 0;
}
