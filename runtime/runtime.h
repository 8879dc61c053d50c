// The runtime's own state and internal routines, shared by its files.
#ifndef ZORVE_RUNTIME_H
#define ZORVE_RUNTIME_H

#include "platform/win32.h"
#include "zorve.h"

enum DrawKind {
    DRAW_TRIANGLE = 0,
    DRAW_RECT = 1,
    DRAW_OVAL = 2,
    DRAW_LINE = 3,
    DRAW_PIXEL = 4,
    DRAW_TEXT = 5
};

// One drawing command, from a drawing call to the renderer. A text record carries its
// size and the handle of a movable block holding the text in fields of their own.
struct DrawRecord {
    int kind;
    int color;  // always 0..23
    int width;  // triangle, rectangle, oval: 0 filled, > 0 outline; line: >= 1
    DrawPoint p1, p2, p3;
    int ptsize;          // text only: character height in pixels, 0..127
    HGLOBAL text_block;  // text only: NUL-terminated copy of the text
};

constexpr int CANVAS_WIDTH = 601;
constexpr int CANVAS_HEIGHT = 540;
constexpr int CONSOLE_BUFFER_SIZE = 1024;
constexpr int CONSOLE_RING_LINES = 25;

// Palette: names for log lines, values in the platform's colour format.
extern const char* const palette_names[ZORVE_COLORS];
extern const COLORREF palette[ZORVE_COLORS];

int check_color(int color);

// Canvas and coordinates.
extern HDC window_dc;
extern HDC canvas_dc;
extern HBITMAP canvas_bitmap;
extern int canvas_dirty;
extern int origin_x;
extern int origin_y;

void canvas_create(HWND window);
void render_record(const DrawRecord& record);
void canvas_clear();
void canvas_present();

// Console.
extern int logging_flag;
// Called with every console line as formatted, for tests that read what the console
// shows beyond its last lines.
using ConsoleTap = void (*)(const char* line);
extern ConsoleTap console_tap;

#endif
