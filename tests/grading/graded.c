/* A program that ends its run the way its first argument asks, for zorve-run's tests:
 *   click    a red circle of radius 20 at each click, until quit or the key q
 *   ask      asks a question first, then as click
 *   nostop   as click, but returns from main without ZORVE_stop
 *   animate  a dot that moves on every periodic tick, with no end of its own
 *   segv     starts the runtime, then dies of a segmentation fault
 *   exit7    starts the runtime, then calls exit(7)
 *   spin     starts the runtime, then never waits
 *   never    never starts the runtime */
#include <signal.h>
#include <stdlib.h>
#include <string.h>

#include "zorve.h"

static void circles_until_quit(void)
{
    EventRecord event;
    int kind;
    while ((kind = ZORVE_wait_event(&event)) != ZORVE_QUIT) {
        if (kind == ZORVE_MOUSE)
            ZORVE_draw_circle(ZORVE_RED, event.x, event.y, 20);
        if (kind == ZORVE_KBD && event.key == 'q')
            break;
    }
}

int main(int argc, char** argv)
{
    const char* mode = argc > 1 ? argv[1] : "click";
    volatile int forever = 1;
    char answer[256];
    int step = 0;

    if (strcmp(mode, "never") == 0)
        return 0;
    ZORVE_start(0, 0, "", 1);
    ZORVE_set_logging(0);
    ZORVE_clear();
    ZORVE_console_printf("mode %s\n", mode);
    if (strcmp(mode, "segv") == 0) {
        /* The default action, so a sanitizer's handler cannot turn the signal into an exit status. */
        signal(SIGSEGV, SIG_DFL);
        raise(SIGSEGV);
    }
    if (strcmp(mode, "exit7") == 0)
        exit(7);
    while (strcmp(mode, "spin") == 0 && forever)
        ;
    if (strcmp(mode, "ask") == 0) {
        answer[0] = '\0';
        ZORVE_gets("How many?", answer);
        ZORVE_draw_textf(ZORVE_BLUE, -280, 220, 20, "%d", atoi(answer));
    }
    if (strcmp(mode, "animate") == 0) {
        ZORVE_set_animation(ANIMATE_RUN);
        while (ZORVE_wait_event(NULL) != ZORVE_QUIT) {
            ZORVE_draw_pixel(ZORVE_BLACK, step % 500 - 250, step / 500 - 200);
            ++step;
        }
    } else {
        circles_until_quit();
    }
    if (strcmp(mode, "nostop") == 0)
        return 0;
    ZORVE_stop();
    return 0;
}
