/* gallery: every drawing call, in its coordinate form and its point form (_pt), one
 * cell each with its name; the last row shows how the runtime corrects bad arguments
 * (the console says what it corrected). Any key or click ends it. */
#include "zorve.h"

#define COLUMNS 4
#define CELL_WIDTH 148
#define CELL_HEIGHT 150
#define LEFT (-296)
#define TOP 212
#define LABEL_SIZE 13

/* The upper-left corner of cell n. */
static DrawPoint cell_corner(int n)
{
    DrawPoint corner;
    corner.x = LEFT + (n % COLUMNS) * CELL_WIDTH;
    corner.y = TOP - (n / COLUMNS) * CELL_HEIGHT;
    return corner;
}

/* The middle of the cell's picture, above its label. */
static DrawPoint cell_centre(int n)
{
    DrawPoint c = cell_corner(n);
    c.x += CELL_WIDTH / 2;
    c.y -= 64;
    return c;
}

static void draw_cell(int n, const char *label)
{
    DrawPoint corner = cell_corner(n);
    ZORVE_draw_rect(ZORVE_GRAY_20, corner.x, corner.y,
                    corner.x + CELL_WIDTH - 1, corner.y - CELL_HEIGHT + 1, 1);
    ZORVE_draw_text(ZORVE_BLACK, corner.x + 8, corner.y - CELL_HEIGHT + 8, LABEL_SIZE, label);
}

static void pixels(DrawPoint c)
{
    int i, j;
    for (i = -40; i <= 40; i += 8)
        for (j = -40; j <= 40; j += 8)
            ZORVE_draw_pixel(ZORVE_NAVY_BLUE, c.x + i, c.y + j);
    for (i = -40; i <= 40; i += 2) {
        DrawPoint p = {c.x + i, c.y + i};
        ZORVE_draw_pixel_pt(ZORVE_RED, p);
    }
}

static void circles(DrawPoint c)
{
    DrawPoint small = {c.x + 30, c.y + 30};
    ZORVE_draw_circle(ZORVE_RED, c.x, c.y, 40);
    ZORVE_draw_circle_pt(ZORVE_PINK, small, 15);
}

static void triangles(DrawPoint c)
{
    DrawPoint p1 = {c.x - 50, c.y - 40};
    DrawPoint p2 = {c.x + 20, c.y + 50};
    DrawPoint p3 = {c.x + 50, c.y - 40};
    ZORVE_draw_triangle(ZORVE_ORANGE, c.x - 50, c.y + 40, c.x + 50, c.y + 40, c.x, c.y - 40, 0);
    ZORVE_draw_triangle_pt(ZORVE_BROWN, p1, p2, p3, 3);
}

static void rectangles(DrawPoint c)
{
    DrawPoint p1 = {c.x - 55, c.y + 45};
    DrawPoint p2 = {c.x + 55, c.y - 45};
    ZORVE_draw_rect(ZORVE_GOLD, c.x - 40, c.y + 30, c.x + 40, c.y - 30, 0);
    ZORVE_draw_rect_pt(ZORVE_NAVY_BLUE, p1, p2, 4);
}

static void ovals(DrawPoint c)
{
    DrawPoint p1 = {c.x - 25, c.y + 48};
    DrawPoint p2 = {c.x + 25, c.y - 48};
    ZORVE_draw_oval(ZORVE_SEA_GREEN, c.x - 60, c.y + 25, c.x + 60, c.y - 25, 0);
    ZORVE_draw_oval_pt(ZORVE_PURPLE, p1, p2, 2);
}

static void lines(DrawPoint c)
{
    DrawPoint p1 = {c.x - 55, c.y - 40};
    DrawPoint p2 = {c.x + 55, c.y + 10};
    ZORVE_draw_line(ZORVE_BLACK, c.x - 55, c.y + 40, c.x + 55, c.y + 40, 0);
    ZORVE_draw_line(ZORVE_BLUE, c.x - 55, c.y + 25, c.x + 55, c.y - 5, 3);
    ZORVE_draw_line_pt(ZORVE_MAGENTA, p1, p2, 8);
}

static void texts(DrawPoint c)
{
    DrawPoint anchor = {c.x - 62, c.y - 12};
    ZORVE_draw_text(ZORVE_RED, c.x - 50, c.y + 22, 24, "Be mine");
    ZORVE_draw_text_pt(ZORVE_BLACK, anchor, 13, "Roses are red,\nviolets are blue");
}

static void formatted_texts(DrawPoint c)
{
    DrawPoint anchor = {c.x - 62, c.y - 20};
    int made = ZORVE_draw_textf(ZORVE_PURPLE, c.x - 62, c.y + 22, 20, "%d hearts", 3);
    ZORVE_draw_textf_pt(ZORVE_FOREST_GREEN, anchor, 16, "%s + %s = %c", "you", "me", 'L');
    ZORVE_console_printf("draw_textf made %d characters", made);
}

int main(void)
{
    char command_line[] = "";
    EventRecord event;
    DrawPoint c;
    int kind;

    ZORVE_start(0, 0, command_line, 1);
    ZORVE_set_logging(0);
    ZORVE_clear(); /* the canvas starts black */
    ZORVE_draw_text(ZORVE_NAVY_BLUE, -150, 222, 20, "Every drawing call of ZORVE");

    pixels(cell_centre(0));
    draw_cell(0, "draw_pixel, _pt");
    circles(cell_centre(1));
    draw_cell(1, "draw_circle, _pt");
    triangles(cell_centre(2));
    draw_cell(2, "draw_triangle, _pt");
    rectangles(cell_centre(3));
    draw_cell(3, "draw_rect, _pt");
    ovals(cell_centre(4));
    draw_cell(4, "draw_oval, _pt");
    lines(cell_centre(5));
    draw_cell(5, "draw_line, _pt");
    texts(cell_centre(6));
    draw_cell(6, "draw_text, _pt");
    formatted_texts(cell_centre(7));
    draw_cell(7, "draw_textf, _pt");

    /* Bad arguments, with logging on: the console shows each correction and then
     * the drawing as it was made. */
    ZORVE_set_logging(1);
    c = cell_centre(8);
    ZORVE_draw_circle(99, c.x, c.y, -30);
    c = cell_centre(9);
    ZORVE_draw_rect(ZORVE_BLUE, c.x - 40, c.y + 35, c.x + 40, c.y - 35, -5);
    c = cell_centre(10);
    ZORVE_draw_text(ZORVE_DUSTY_PLUM, c.x - 35, c.y - 84, 300, "A");
    c = cell_centre(11); /* corners in any order: lower-right first here */
    ZORVE_draw_oval(ZORVE_TURQUOISE, c.x + 50, c.y - 40, c.x - 50, c.y + 40, 0);
    ZORVE_set_logging(0);
    draw_cell(8, "colour 99, radius -30");
    draw_cell(9, "width -5");
    draw_cell(10, "ptsize 300");
    draw_cell(11, "corners in any order");

    ZORVE_undo(); /* undo is gone: it only says so */

    do {
        kind = ZORVE_wait_event(&event);
    } while (kind == ZORVE_PERIODIC);
    ZORVE_stop();
    return 0;
}
