/* question: asks two questions in the text dialog and makes a card of the answers.
 * An empty answer (just Okay, or Enter) gets a sensible default. Afterwards each
 * click adds a little heart; close the window to end. */
#include <stdlib.h>
#include <string.h>

#include "zorve.h"

#define ANSWER_SIZE 256 /* what ZORVE_gets may write */
#define DEFAULT_NAME "my Valentine"
#define DEFAULT_HEARTS 3
#define MAX_HEARTS 9
#define NAME_SIZE 32

/* A heart whose two round tops have radius r, with the dip between them at (x, y):
 * two circles, and two triangles down to the point. */
static void draw_heart(int colour, int x, int y, int r)
{
    ZORVE_draw_circle(colour, x - r, y, r);
    ZORVE_draw_circle(colour, x + r, y, r);
    ZORVE_draw_triangle(colour, x - r * 172 / 100, y - r * 69 / 100,
                        x + r * 172 / 100, y - r * 69 / 100, x, y - r * 5 / 2, 0);
    ZORVE_draw_triangle(colour, x - r, y, x + r, y, x, y - r * 5 / 2, 0);
}

int main(void)
{
    char command_line[] = "";
    char name[ANSWER_SIZE];
    char count[ANSWER_SIZE];
    EventRecord event;
    int hearts, i, kind;

    ZORVE_start(0, 0, command_line, 1);
    ZORVE_set_logging(0);
    ZORVE_clear();

    name[0] = '\0';
    ZORVE_gets("Who is your Valentine?", name);
    if (strlen(name) == 0)
        strcpy(name, DEFAULT_NAME);
    count[0] = '\0';
    ZORVE_gets("How many hearts (1 to 9)?", count);
    hearts = atoi(count);
    if (hearts < 1 || hearts > MAX_HEARTS)
        hearts = DEFAULT_HEARTS;
    ZORVE_console_printf("a card for %s with %d hearts", name, hearts);

    ZORVE_draw_rect(ZORVE_PINK, -290, 240, 290, -240, 0);
    ZORVE_draw_rect(ZORVE_WHITE, -270, 220, 270, -220, 0);
    draw_heart(ZORVE_RED, 0, 150, 52);
    ZORVE_draw_text(ZORVE_RED, -75, -35, 40, "Be mine,");
    /* Centred, roughly: a character is about half as wide as the text is high. */
    ZORVE_draw_textf(ZORVE_PURPLE, -(int)(strlen(name) + 1) * NAME_SIZE / 4, -90, NAME_SIZE,
                     "%s!", name);
    for (i = 0; i < hearts; i++)
        draw_heart(ZORVE_MAGENTA, (i - (hearts - 1) / 2) * 50 - (hearts % 2 ? 0 : 25), -150, 10);

    for (;;) {
        kind = ZORVE_wait_event(&event);
        if (kind == ZORVE_QUIT)
            break;
        if (kind == ZORVE_MOUSE)
            draw_heart(ZORVE_PINK, event.x, event.y, 8);
    }
    ZORVE_stop();
    return 0;
}
