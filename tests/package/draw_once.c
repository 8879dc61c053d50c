/* Draws once and ends without waiting for an event: a run of a program built against
 * the installed package, whichever presenter it was linked with. */
#include <stdio.h>

#include "zorve.h"

int main(void) {
    char none[] = "";
    int started = ZORVE_start(0, 0, none, 1);
    ZORVE_set_logging(0);
    ZORVE_clear();
    int circle = ZORVE_draw_circle(ZORVE_RED, 0, 0, 40);
    int text = ZORVE_draw_textf(ZORVE_BLACK, -100, 100, 16, "%d hearts", 3);
    ZORVE_stop();
    printf("started %d circle %d text %d\n", started, circle, text);
    return 0;
}
