/* typing: a love note typed on a card. Every key also goes to the console window,
 * with its code. Enter starts a new line, Backspace erases, Tab switches logging of
 * the drawing calls on and off (the console lists each one while it is on). */
#include <string.h>

#include "zorve.h"

#define MAX_LINES 8
#define MAX_CHARS 36
#define LINE_LEFT (-240)
#define FIRST_LINE 130
#define LINE_STEP 36
#define TEXT_SIZE 22

static char lines[MAX_LINES][MAX_CHARS + 1];
static int row = 0;

static int line_y(int r) { return FIRST_LINE - r * LINE_STEP; }

/* Draws line r afresh; the line being typed ends in a cursor. */
static void draw_line(int r)
{
    int y = line_y(r);
    ZORVE_draw_rect(ZORVE_WHITE, LINE_LEFT - 4, y + 30, -LINE_LEFT + 20, y - 6, 0);
    if (r == row)
        ZORVE_draw_textf(ZORVE_NAVY_BLUE, LINE_LEFT, y, TEXT_SIZE, "%s_", lines[r]);
    else
        ZORVE_draw_text(ZORVE_NAVY_BLUE, LINE_LEFT, y, TEXT_SIZE, lines[r]);
}

static void draw_card(void)
{
    ZORVE_clear();
    ZORVE_draw_rect(ZORVE_PINK, -270, 210, 270, -210, 6);
    ZORVE_draw_text(ZORVE_RED, -62, 175, 24, "A love note");
    ZORVE_draw_text(ZORVE_GRAY_50, -240, -195, 12,
                    "Enter: new line   Backspace: erase   Tab: logging on/off");
    draw_line(0);
}

static void new_line(void)
{
    if (row == MAX_LINES - 1)
        return;
    row++;
    draw_line(row - 1); /* without its cursor */
    draw_line(row);
}

int main(void)
{
    char command_line[] = "";
    EventRecord event;
    int logging = 0;
    int kind;
    size_t length;

    ZORVE_start(0, 0, command_line, 1);
    ZORVE_set_logging(logging);
    console_show(1); /* the console echoes every key */
    draw_card();

    for (;;) {
        kind = ZORVE_wait_event(&event);
        if (kind == ZORVE_QUIT)
            break;
        if (kind != ZORVE_KBD)
            continue;
        length = strlen(lines[row]);
        if (event.key == '\r' || event.key == '\n') {
            ZORVE_console_printf("key %3d  Enter", event.key);
            new_line();
        } else if (event.key == '\b') {
            ZORVE_console_printf("key %3d  Backspace", event.key);
            if (length > 0) {
                lines[row][length - 1] = '\0';
                draw_line(row);
            }
        } else if (event.key == '\t') {
            logging = !logging;
            ZORVE_set_logging(logging);
            ZORVE_console_printf("key %3d  Tab: logging %s", event.key, logging ? "on" : "off");
        } else if (event.key >= ' ' && event.key <= '~') {
            ZORVE_console_printf("key %3d  '%c'", event.key, event.key);
            if (length == MAX_CHARS)
                new_line();
            length = strlen(lines[row]);
            lines[row][length] = event.key;
            lines[row][length + 1] = '\0';
            draw_line(row);
        } else {
            ZORVE_console_printf("key %3d", (unsigned char)event.key);
        }
    }
    ZORVE_stop();
    return 0;
}
