/* palette: the 24 colours of ZORVE as swatches with their numbers and names.
 * Click a swatch and the console names its colour. */
#include "zorve.h"

#define COLUMNS 4
#define CELL_WIDTH 148
#define CELL_HEIGHT 72
#define LEFT (-296)
#define TOP 215
#define SWATCH_WIDTH 44
#define SWATCH_HEIGHT 40

static const char *NAMES[ZORVE_COLORS] = {
    "black", "white", "red", "green", "blue", "yellow",
    "magenta", "cyan", "purple", "navy blue", "dusty plum", "ice blue",
    "turquoise", "orange", "brown", "pink", "chalk", "gold",
    "peach", "forest green", "sea green", "olive", "50% gray", "20% gray"};

/* The upper-left corner of colour n's cell. */
static DrawPoint cell_corner(int n)
{
    DrawPoint corner;
    corner.x = LEFT + (n % COLUMNS) * CELL_WIDTH;
    corner.y = TOP - (n / COLUMNS) * CELL_HEIGHT;
    return corner;
}

static void draw_swatch(int n)
{
    DrawPoint corner = cell_corner(n);
    DrawPoint p1 = {corner.x + 6, corner.y - 8};
    DrawPoint p2 = {p1.x + SWATCH_WIDTH - 1, p1.y - SWATCH_HEIGHT + 1};
    DrawPoint label = {p2.x + 8, corner.y - 26};
    DrawPoint name = {p2.x + 8, corner.y - 44};

    ZORVE_draw_rect_pt(n, p1, p2, 0);               /* width 0: filled */
    ZORVE_draw_rect_pt(ZORVE_BLACK, p1, p2, 1);     /* a frame, so white shows */
    ZORVE_draw_textf_pt(ZORVE_BLACK, label, 14, "%d", n);
    ZORVE_draw_text_pt(ZORVE_BLACK, name, 13, NAMES[n]);
}

/* The colour whose swatch holds (x, y), or -1. */
static int swatch_at(int x, int y)
{
    int n;
    for (n = 0; n < ZORVE_COLORS; n++) {
        DrawPoint corner = cell_corner(n);
        int left = corner.x + 6;
        int top = corner.y - 8;
        if (x >= left && x < left + SWATCH_WIDTH && y <= top && y > top - SWATCH_HEIGHT)
            return n;
    }
    return -1;
}

int main(void)
{
    char command_line[] = "";
    EventRecord event;
    int n;

    ZORVE_start(0, 0, command_line, 1);
    ZORVE_set_logging(0);
    ZORVE_clear(); /* the canvas starts black */
    ZORVE_draw_text(ZORVE_NAVY_BLUE, -120, 222, 20, "The 24 colours of ZORVE");
    for (n = 0; n < ZORVE_COLORS; n++)
        draw_swatch(n);

    for (;;) {
        int kind = ZORVE_wait_event(&event);
        if (kind == ZORVE_QUIT)
            break;
        if (kind == ZORVE_MOUSE) {
            n = swatch_at(event.x, event.y);
            if (n >= 0)
                ZORVE_console_printf("colour %d is %s", n, NAMES[n]);
        }
    }
    ZORVE_stop();
    return 0;
}
