/* A correct solution of the exercise (see ../README.md): a red circle of radius 20 at
 * every click; the key h asks "How many hearts?" and draws that many hearts in a row
 * along the bottom, replacing the row drawn before. */
#include <stdlib.h>

#include "zorve.h"

static void heart(int x, int y)
{
    ZORVE_draw_circle(ZORVE_MAGENTA, x - 8, y, 8);
    ZORVE_draw_circle(ZORVE_MAGENTA, x + 8, y, 8);
    ZORVE_draw_triangle(ZORVE_MAGENTA, x - 15, y - 4, x + 15, y - 4, x, y - 22, 0);
}

int main(void)
{
    EventRecord event;
    char answer[256];
    int kind, i, hearts;

    ZORVE_start(0, 0, "", 1);
    ZORVE_set_logging(0);
    ZORVE_clear();
    while ((kind = ZORVE_wait_event(&event)) != ZORVE_QUIT) {
        if (kind == ZORVE_MOUSE) {
            ZORVE_draw_circle(ZORVE_RED, event.x, event.y, 20);
        } else if (kind == ZORVE_KBD && event.key == 'h') {
            answer[0] = '\0';
            ZORVE_gets("How many hearts?", answer);
            hearts = atoi(answer);
            ZORVE_draw_rect(ZORVE_WHITE, -290, -190, 290, -240, 0);
            for (i = 0; i < hearts && i < 10; i++)
                heart(-250 + 55 * i, -200);
        }
    }
    ZORVE_stop();
    return 0;
}
