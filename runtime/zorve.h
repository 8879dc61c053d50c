/* The ZORVE graphics runtime: a fixed graphics window with a centred, y-up coordinate
 * system, a palette of 24 named colours, drawing calls that correct bad arguments,
 * and events (click, key, periodic tick, quit).
 *
 * Coordinates: the origin is the centre of the graphics window's client area (595 x 496
 * pixels), x grows to the right and y upwards. The window shows x from -297 to 297 and
 * y from -247 to 248. Drawing lands on an off-screen canvas of 601 x 540 pixels whose
 * top-left part the window shows; what falls outside the canvas is clipped.
 *
 * Drawing appears in the window when the program next waits (ZORVE_wait_event), all of
 * a frame at once; ZORVE_save_picture sees it at once. The canvas starts black:
 * programs call ZORVE_clear first.
 *
 * Every drawing call exists in a coordinate form (x, y as two ints) and a point form
 * (suffix _pt, a DrawPoint); both behave alike. Drawing calls return 1; the
 * printf-style calls return the number of characters their formatting produced.
 * Bad arguments are corrected, each with one console line, logging on or off:
 *   a colour outside 0..23     -> red          "Illegal color 99; using RED."
 *   a negative width or radius -> its absolute value  "Width of -5 not possible, ..."
 *   a negative ptsize          -> its absolute value; over 127 -> 127
 * While logging is on (it is at start), each drawing call also writes one line saying
 * what it drew, after the corrections: "red circle at (10,20), radius 5".
 *
 * The graphics window's Run menu: Animate Ctrl+A, Halt animation Ctrl+H, Advance one
 * frame Ctrl+F, Logging Ctrl+L, Record Script Ctrl+R, Playback Script Ctrl+P, Play One
 * Script Ctrl+O, Quit Ctrl+Q, Save Picture Ctrl+S, Save Animation Ctrl+G. */
#ifndef ZORVE_H
#define ZORVE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Colour numbers: indices into the palette; their names are those that log lines use
 * ("navy blue", "50% gray", ...). */
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

/* One pixel. Logs "<colour> pixel at (x,y)". */
int ZORVE_draw_pixel(int color, int x, int y);
int ZORVE_draw_pixel_pt(int color, DrawPoint p);
/* A filled disc: the circle inscribed in the square from (x - radius, y + radius) to
 * (x + radius, y - radius), both corners included. Logs "<colour> circle at (x,y),
 * radius r". */
int ZORVE_draw_circle(int color, int x, int y, int radius);
int ZORVE_draw_circle_pt(int color, DrawPoint centre, int radius);
/* The triangle with these corners. Width 0 fills it; a larger width draws its outline
 * with a pen that wide, centred on the edges (as for rectangles and ovals). Logs
 * "<colour> triangle at (x1,y1), (x2,y2), (x3,y3)". */
int ZORVE_draw_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
int ZORVE_draw_triangle_pt(int color, DrawPoint p1, DrawPoint p2, DrawPoint p3, int width);
/* The rectangle with opposite corners (x1, y1) and (x2, y2), given in any order (they
 * are sorted to upper-left, lower-right); both corners' pixels are inside. Width as for
 * triangles. Logs "<colour> rectangle with bounding box (l,t) to (r,b), filled" or
 * "... with line width w". */
int ZORVE_draw_rect(int color, int x1, int y1, int x2, int y2, int width);
int ZORVE_draw_rect_pt(int color, DrawPoint p1, DrawPoint p2, int width);
/* The ellipse inscribed in the rectangle that ZORVE_draw_rect would draw with these
 * corners. Width as for triangles. Logs "<colour> oval with bounding box (l,t) to
 * (r,b), filled" or "..., line width w". */
int ZORVE_draw_oval(int color, int x1, int y1, int x2, int y2, int width);
int ZORVE_draw_oval_pt(int color, DrawPoint p1, DrawPoint p2, int width);
/* A line from (x1, y1) to (x2, y2). Width 0 and 1 give a 1-pixel line, which leaves
 * out its end point as GDI does; a larger width gives a line that wide, round-ended.
 * Logs "<colour> line from (x1,y1) to (x2,y2), width w". */
int ZORVE_draw_line(int color, int x1, int y1, int x2, int y2, int width);
int ZORVE_draw_line_pt(int color, DrawPoint p1, DrawPoint p2, int width);
/* Text in the runtime's font, glyphs only (no background). (x, y) is the lower-left
 * corner of the first line's character cell: the cell sits just above row y. ptsize is
 * the character height in pixels (the cell is somewhat taller); 0 gives the font's
 * default, a 16-pixel cell. Each '\n' starts a new line one cell lower. A NULL text
 * draws nothing, with a console line. Logs "<colour> text at (x,y), "text"". */
int ZORVE_draw_text(int color, int x, int y, int ptsize, const char* text);
int ZORVE_draw_text_pt(int color, DrawPoint anchor, int ptsize, const char* text);
/* ZORVE_draw_text of a printf-style format and its arguments; a text longer than 1023
 * characters is cut. Returns the number of characters the formatting produced (cut or
 * not); a NULL format draws nothing and returns 0, with a console line. */
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

/* Events: the result of a wait.
 *   ZORVE_MOUSE     the left button was pressed in the graphics window
 *   ZORVE_KBD       a character was typed in the graphics or console window (Enter 13,
 *                   Backspace 8, Tab 9, Escape 27); keys pressed with Ctrl held are the
 *                   Run menu's shortcuts, never events
 *   ZORVE_PERIODIC  while the animation runs, one per tick of a 100 ms timer; ticks
 *                   missed while the program is busy are not made up
 *   ZORVE_QUIT      the graphics window was closed, Run > Quit (Ctrl+Q) was chosen, or
 *                   ANIMATE_QUIT was set; the program should stop and end */
enum {
    ZORVE_NONE = -1, /* internal to the wait, never returned */
    ZORVE_MOUSE = 1,
    ZORVE_KBD = 2,
    ZORVE_PERIODIC = 3,
    ZORVE_QUIT = 4
};

/* Filled by every wait: a mouse event's position in centred, y-up coordinates, or a
 * key event's character; the fields an event does not use are 0. */
typedef struct EventRecord {
    int x;
    int y;
    char key;
} EventRecord;

/* Actions of ZORVE_set_animation. */
enum { ANIMATE_HALT = 0, ANIMATE_STEP = 1, ANIMATE_RUN = 2, ANIMATE_QUIT = 5 };

/* Opens the graphics window "ZORVE Graphics" (601 x 540 with its Run menu) and the
 * console window "ZORVE Text"; the four values are those the program's entry received
 * (instance, previous instance, command line, show state: 1 for normal windows; a
 * main() passes 0, 0, its command line or "", 1). Starts the 100 ms timer, with the
 * animation halted and logging on. A second call while started does nothing; after
 * ZORVE_stop it starts afresh. Returns 1.
 * The environment can ask more of a run: ZORVE_HEADLESS=1 runs without a display;
 * ZORVE_PLAY=FILE plays that script from the first wait; ZORVE_SNAPSHOT=FILE.png and
 * ZORVE_REPORT=FILE.json write the picture and a report of the run when it ends;
 * ZORVE_TICKS=N ends a headless run N ticks after its script. The windows show the
 * program's own icon where it has one: its icon resource 1 on Windows, elsewhere
 * share/icons/hicolor/NxN/apps/NAME.png, NAME the executable's, under its prefix or
 * its own folder. */
int ZORVE_start(void* instance, void* previous_instance, const char* command_line, int show_state);
/* Ends the runtime's work: writes the picture and the report that ZORVE_SNAPSHOT and
 * ZORVE_REPORT ask for, and closes a script file being recorded (its last periodic
 * events written) or played. The windows stay until the program ends. Returns 1. */
int ZORVE_stop(void);
/* Shows what was drawn and printed since the last wait, waits for the next event, fills
 * *event (which may be NULL) and returns the event's kind. While a script plays, its
 * events come at once, periodic ones too; while one is recorded, every event returned
 * is written to it. */
int ZORVE_wait_event(EventRecord* event);
/* ZORVE_wait_event, the record's fields into *x, *y, *key (each may be NULL). */
int ZORVE_wait_event_xy(int* x, int* y, char* key);
/* ANIMATE_RUN: periodic events from now on (Run > Animate, Ctrl+A). ANIMATE_HALT: no
 * more (Ctrl+H). ANIMATE_STEP: one periodic event, which the next wait makes and
 * gives at the first tick after that, always a fresh one (a tick that came or fell due
 * before does not count); a running animation runs on (Ctrl+F also halts it).
 * ANIMATE_QUIT: the next wait, once an event arrives, and every later one return
 * ZORVE_QUIT. Other values do nothing. Returns 1, or 0 before ZORVE_start. */
int ZORVE_set_animation(int action);
/* Logging on (non-zero; also shows the console window) or off (0), as Run > Logging
 * (Ctrl+L), whose check mark follows. Returns 1, or 0 before ZORVE_start. */
int ZORVE_set_logging(int on);

/* Fills the canvas with white inside a 1-pixel black frame (its top and left lines
 * show at the window's edges, x = -297 and y = 248). Logs "Clearing the graphics
 * window". Returns 1. */
int ZORVE_clear(void);
/* No longer supported: writes "ZORVE_undo is no longer supported." and returns 1. */
int ZORVE_undo(void);

/* More input than ZORVE_wait_event gives, for programs that ask for it: buttons let
 * go, the mouse moving, the right and middle buttons, keys with no character (arrows,
 * F1..F12, ...) and keys let go. ZORVE_wait_event never returns these, whatever is
 * asked: a program that does not call ZORVE_wait_input sees none of it. */
enum {
    ZORVE_RELEASE = 5,     /* a mouse button let go, where */
    ZORVE_MOTION = 6,      /* the mouse moved over the graphics window */
    ZORVE_KEY = 7,         /* a key with no character: key is a ZORVE_KEY_ code */
    ZORVE_KEY_RELEASE = 8  /* a key let go: key is its character or ZORVE_KEY_ code */
};

/* Which extra input ZORVE_wait_input returns (ZORVE_set_input); after ZORVE_start:
 * ZORVE_INPUT_RELEASE | ZORVE_INPUT_DRAG | ZORVE_INPUT_BUTTONS | ZORVE_INPUT_KEYS. */
enum {
    ZORVE_INPUT_RELEASE = 1,  /* ZORVE_RELEASE */
    ZORVE_INPUT_MOTION = 2,   /* ZORVE_MOTION, with a button held or not */
    ZORVE_INPUT_DRAG = 4,     /* ZORVE_MOTION only while a button is held */
    ZORVE_INPUT_BUTTONS = 8,  /* ZORVE_MOUSE (and ZORVE_RELEASE) of the right and middle buttons */
    ZORVE_INPUT_KEYS = 16,    /* ZORVE_KEY and ZORVE_KEY_RELEASE */
    ZORVE_INPUT_ALL = 31
};

/* Keys with no character, in ZorveInput.key: codes from 256 up, apart from every
 * character (0..255). */
enum {
    ZORVE_KEY_LEFT = 256,
    ZORVE_KEY_RIGHT,
    ZORVE_KEY_UP,
    ZORVE_KEY_DOWN,
    ZORVE_KEY_HOME,
    ZORVE_KEY_END,
    ZORVE_KEY_PAGE_UP,
    ZORVE_KEY_PAGE_DOWN,
    ZORVE_KEY_INSERT,
    ZORVE_KEY_DELETE,
    ZORVE_KEY_F1,
    ZORVE_KEY_F2,
    ZORVE_KEY_F3,
    ZORVE_KEY_F4,
    ZORVE_KEY_F5,
    ZORVE_KEY_F6,
    ZORVE_KEY_F7,
    ZORVE_KEY_F8,
    ZORVE_KEY_F9,
    ZORVE_KEY_F10,
    ZORVE_KEY_F11,
    ZORVE_KEY_F12
};

/* Filled by ZORVE_wait_input; the fields an event does not use are 0. */
typedef struct ZorveInput {
    int kind;     /* ZORVE_MOUSE, ZORVE_KBD, ZORVE_PERIODIC, ZORVE_QUIT, or an extra kind */
    int x, y;     /* centred, y-up coordinates of every mouse kind (outside the window
                   * too, for a drag that left it) */
    int button;   /* 1 left, 2 right, 3 middle; for ZORVE_MOTION the button held, or 0 */
    int key;      /* ZORVE_KBD: the character, 0..255; ZORVE_KEY: a ZORVE_KEY_ code;
                   * ZORVE_KEY_RELEASE: the character the key typed, or its code */
    int ctrl, shift; /* whether Ctrl and Shift were held */
} ZorveInput;

/* The wait of ZORVE_wait_event, with the extra kinds that ZORVE_set_input asks for:
 * shows what was drawn, waits, fills *input (which may be NULL) and returns the kind.
 * A mouse move is one event per wait at most, at the latest position. Keys pressed
 * with Ctrl held that are Run menu shortcuts act as shortcuts and never arrive. */
int ZORVE_wait_input(ZorveInput* input);
/* Sets which extra kinds ZORVE_wait_input returns (ZORVE_INPUT_ flags); returns the set
 * before. Unknown flags are left out, with a console line. */
int ZORVE_set_input(int kinds);
/* Sets the period of the timer that paces periodic events, in milliseconds (100 at
 * start); a period under 10 or over 1000 is corrected, with a console line ("Tick
 * period of 5 ms not possible, using 10 ms"). Returns the period before. */
int ZORVE_set_tick_ms(int ms);
/* The width in pixels that ZORVE_draw_text would cover with this size and text (the
 * widest line of several): x = -ZORVE_text_width(size, text) / 2 centres it. Corrects
 * ptsize as ZORVE_draw_text does; a NULL text measures 0, with a console line. */
int ZORVE_text_width(int ptsize, const char* text);

/* Shows (non-zero) or hides (0) the console window; its lines are kept either way. */
void console_show(int flag);

/* Writes one line, printf-style, to the console window (a final '\n' is optional; text
 * past 1023 characters is cut). The window shows it at the next wait and keeps the
 * last 25 lines; in a headless run the line also goes to standard output. Returns the
 * number of characters the formatting produced; a NULL format prints a complaint and
 * returns 0. */
int ZORVE_console_printf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

/* Asks for one line of text in a modal dialog "ZORVE_gets": the prompt (its first 79
 * characters), an edit box and an Okay button, which (or Enter) is the only way out.
 * The text typed goes to `answer`, which must hold 256 bytes. While a script is
 * recorded the answer is written to it; while one plays, its answer line answers the
 * dialog. A headless run with no answer in its script answers with Enter: an empty
 * answer. Returns 1 when the dialog was shown and
 * ended, 0 when it could not be created or `answer` is NULL (a NULL prompt is taken as
 * empty, with a console line). */
int ZORVE_gets(const char* prompt, char* answer);

/* Writes what the graphics window's client area shows, with everything drawn so far,
 * as a 595 x 496 PNG file at `path` and returns 1; returns 0, with a console message
 * naming the file and the reason, when it cannot. A file already at `path` is replaced
 * whole or not at all. Run > Save Picture (Ctrl+S) does the same into the first free
 * name of ZORVE1.png, ZORVE2.png, ... in the current folder. */
int ZORVE_save_picture(const char* path);

/* Collects the next `frames` frames the graphics window shows and writes them to `file`
 * as an animated GIF that loops forever. A frame is the client area's 595 x 496 pixels
 * at a tick of the timer that paces periodic events (the frame drawn before the wait
 * in which the tick comes), from the next tick on, whether the animation runs or not;
 * each frame shows for one tick period (ZORVE_set_tick_ms; 100 ms at start). `frames`
 * outside 1..300 is corrected, with a console line ("Frames of 500 not possible, using
 * 300"). The file is written, under another name and then renamed, when the last frame
 * is taken; the console says "Animation saved as FILE", or why it could not be. If the
 * program stops (ZORVE_stop) or ends first, the frames collected so far are written and
 * the console says so. A frame of at most 256 colours comes out exact; one of more is
 * written as a few images, exact up to about a thousand colours and beyond that with
 * the 24 colours exact and the others at their nearest (see docs/api.md).
 * Returns 1 when collecting started; 0 when another animation is being collected (said
 * in the console; nothing changes), or for a NULL or empty file name. Run > Save
 * Animation (Ctrl+G) collects 30 frames into the first free name of ZORVE1.gif,
 * ZORVE2.gif, ... in the current folder. */
int ZORVE_save_animation(const char* file, int frames);

#ifdef __cplusplus
}
#endif

#endif
