/* replay: a heart where you click, growing until the next click, to record a session
 * and play it back.
 *
 * Ctrl+R (Run menu: Record Script) starts writing every event the program gets into
 * ZORVE.SCR in the current folder; Ctrl+R again stops. Start the program afresh and
 * press Ctrl+P (Playback Script): the same events come back and make the same
 * picture. A heart grows on periodic events, so a replay keeps the timing too.
 * Keys: c changes the colour of the next hearts, n starts a new garden. */
#include "zorve.h"

#define MAX_HEARTS 40
#define FIRST_SIZE 3
#define FULL_SIZE 24
#define COLOUR_COUNT 5

static const int COLOURS[COLOUR_COUNT] = {ZORVE_RED, ZORVE_MAGENTA, ZORVE_ORANGE,
                                          ZORVE_PURPLE, ZORVE_PINK};

struct heart {
    int x, y;
    int colour;
    int size;
};

static struct heart hearts[MAX_HEARTS];
static int heart_count = 0;
static int ticks = 0;

/* A heart whose round tops have radius r, with the dip between them at (x, y). */
static void draw_heart(int colour, int x, int y, int r)
{
    ZORVE_draw_circle(colour, x - r, y, r);
    ZORVE_draw_circle(colour, x + r, y, r);
    ZORVE_draw_triangle(colour, x - r * 172 / 100, y - r * 69 / 100,
                        x + r * 172 / 100, y - r * 69 / 100, x, y - r * 5 / 2, 0);
    ZORVE_draw_triangle(colour, x - r, y, x + r, y, x, y - r * 5 / 2, 0);
}

static void draw_status(void)
{
    ZORVE_draw_rect(ZORVE_WHITE, -290, -225, 290, -247, 0);
    ZORVE_draw_textf(ZORVE_GRAY_50, -285, -242, 14, "tick %d, %d hearts", ticks, heart_count);
}

static void new_garden(void)
{
    heart_count = 0;
    ZORVE_clear();
    ZORVE_draw_text(ZORVE_FOREST_GREEN, -285, 225, 16,
                    "Click to plant a heart: it grows until the next click.");
    ZORVE_draw_text(ZORVE_GRAY_50, -285, 205, 12,
                    "c: colour   n: new garden   Ctrl+R: record ZORVE.SCR   Ctrl+P: play it back");
    draw_status();
}

/* One periodic event: the newest heart grows a little, up to full size. */
static void grow(void)
{
    ticks++;
    if (heart_count > 0) {
        struct heart *newest = &hearts[heart_count - 1];
        if (newest->size < FULL_SIZE) {
            newest->size++;
            draw_heart(newest->colour, newest->x, newest->y, newest->size);
        }
    }
    draw_status();
}

int main(void)
{
    char command_line[] = "";
    EventRecord event;
    int colour = 0;
    int kind;

    ZORVE_start(0, 0, command_line, 1);
    ZORVE_set_logging(0);
    new_garden();
    ZORVE_set_animation(ANIMATE_RUN);

    for (;;) {
        kind = ZORVE_wait_event(&event);
        if (kind == ZORVE_QUIT)
            break;
        if (kind == ZORVE_PERIODIC) {
            grow();
        } else if (kind == ZORVE_MOUSE && heart_count < MAX_HEARTS) {
            struct heart h = {event.x, event.y, COLOURS[colour], FIRST_SIZE};
            hearts[heart_count++] = h;
            draw_heart(h.colour, h.x, h.y, h.size);
            ZORVE_console_printf("heart %d at (%d, %d) after %d ticks", heart_count, h.x, h.y,
                                 ticks);
        } else if (kind == ZORVE_KBD && event.key == 'c') {
            colour = (colour + 1) % COLOUR_COUNT;
        } else if (kind == ZORVE_KBD && event.key == 'n') {
            new_garden();
        }
    }
    ZORVE_console_printf("%d hearts in %d ticks", heart_count, ticks);
    ZORVE_stop();
    return 0;
}
