/* The ZORVE graphics runtime: a fixed graphics window with a centred, y-up coordinate
 * system, a palette of 24 named colours, drawing calls that correct bad arguments,
 * and events (click, key, periodic tick, quit).
 *
 * Every drawing call exists in a coordinate form (x, y as two ints) and a point form
 * (suffix _pt, a DrawPoint). Drawing calls return 1; the printf-style calls return the
 * number of characters their formatting produced. */
#ifndef ZORVE_H
#define ZORVE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Colour numbers: indices into the palette. */
enum {
    ZORVE_BLACK = 0,
    ZORVE_WHITE = 1,
    ZORVE_RED = 2,
    ZORVE_GREEN = 3,
    ZORVE_BLUE = 4,
    ZORVE_YELLOW = 5,
    ZORVE_MAGENTA = 6,
    ZORVE_CYAN = 7,
    ZORVE_PURPLE = 8,
    ZORVE_NAVY_BLUE = 9,
    ZORVE_DUSTY_PLUM = 10,
    ZORVE_ICE_BLUE = 11,
    ZORVE_TURQUOISE = 12,
    ZORVE_ORANGE = 13,
    ZORVE_BROWN = 14,
    ZORVE_PINK = 15,
    ZORVE_CHALK = 16,
    ZORVE_GOLD = 17,
    ZORVE_PEACH = 18,
    ZORVE_FOREST_GREEN = 19,
    ZORVE_SEA_GREEN = 20,
    ZORVE_OLIVE = 21,
    ZORVE_GRAY_50 = 22,
    ZORVE_GRAY_20 = 23,
    ZORVE_COLORS = 24
};

/* One point in runtime coordinates: origin at the centre of the graphics window,
 * x to the right, y upwards. */
typedef struct DrawPoint {
    int x;
    int y;
} DrawPoint;

int ZORVE_draw_pixel(int color, int x, int y);
int ZORVE_draw_pixel_pt(int color, DrawPoint p);
int ZORVE_draw_circle(int color, int x, int y, int radius);
int ZORVE_draw_circle_pt(int color, DrawPoint centre, int radius);
int ZORVE_draw_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
int ZORVE_draw_triangle_pt(int color, DrawPoint p1, DrawPoint p2, DrawPoint p3, int width);
int ZORVE_draw_rect(int color, int x1, int y1, int x2, int y2, int width);
int ZORVE_draw_rect_pt(int color, DrawPoint p1, DrawPoint p2, int width);
int ZORVE_draw_oval(int color, int x1, int y1, int x2, int y2, int width);
int ZORVE_draw_oval_pt(int color, DrawPoint p1, DrawPoint p2, int width);
int ZORVE_draw_line(int color, int x1, int y1, int x2, int y2, int width);
int ZORVE_draw_line_pt(int color, DrawPoint p1, DrawPoint p2, int width);
int ZORVE_draw_text(int color, int x, int y, int ptsize, const char* text);
int ZORVE_draw_text_pt(int color, DrawPoint anchor, int ptsize, const char* text);
int ZORVE_draw_textf(int color, int x, int y, int ptsize, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 5, 6)))
#endif
    ;
int ZORVE_draw_textf_pt(int color, DrawPoint anchor, int ptsize, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 4, 5)))
#endif
    ;

/* Events: the result of a wait. */
enum {
    ZORVE_NONE = -1, /* internal to the wait, never returned */
    ZORVE_MOUSE = 1,
    ZORVE_KBD = 2,
    ZORVE_PERIODIC = 3,
    ZORVE_QUIT = 4
};

/* Filled by every wait: a mouse event's position in centred, y-up coordinates, or a
 * key event's character. */
typedef struct EventRecord {
    int x;
    int y;
    char key;
} EventRecord;

/* Actions of ZORVE_set_animation. */
enum { ANIMATE_HALT = 0, ANIMATE_STEP = 1, ANIMATE_RUN = 2, ANIMATE_QUIT = 5 };

/* Opens the graphics and console windows; the four values are those the program's
 * entry received (instance, previous instance, command line, show state). */
int ZORVE_start(void* instance, void* previous_instance, char* command_line, int show_state);
int ZORVE_stop(void);
/* Waits for the next event and returns its kind. */
int ZORVE_wait_event(EventRecord* event);
int ZORVE_wait_event_xy(int* x, int* y, char* key);
int ZORVE_set_animation(int action);
int ZORVE_set_logging(int on);

/* Fills the canvas with white. */
int ZORVE_clear(void);
/* No longer supported: says so and does nothing. */
int ZORVE_undo(void);

/* Shows (non-zero) or hides (0) the console window; its lines are kept either way. */
void console_show(int flag);

/* Writes one line to the console window; returns the number of characters formatted. */
int ZORVE_console_printf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

/* Asks for one line of text in a modal dialog; `answer` must hold 256 bytes. Returns 1
 * when the dialog was shown and ended, 0 when it could not be created. */
int ZORVE_gets(const char* prompt, char* answer);

/* Writes what the graphics window's client area shows as a PNG file at `path` and
 * returns 1; returns 0, with a console message naming the file and the reason, when it
 * cannot. A file already at `path` is replaced whole or not at all. */
int ZORVE_save_picture(const char* path);

#ifdef __cplusplus
}
#endif

#endif
