// The runtime's own state and internal routines, shared by its files.
#ifndef ZORVE_RUNTIME_H
#define ZORVE_RUNTIME_H

#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <vector>

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

// The canvas, and the graphics window's outer size, which is the same.
constexpr int CANVAS_WIDTH = 601;
constexpr int CANVAS_HEIGHT = 540;

// A 64-bit value held to the int range: coordinates far out, and numbers read from a
// script, keep a sane value instead of wrapping around.
inline int saturate(long long v) { return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v)); }
constexpr int CONSOLE_BUFFER_SIZE = 1024;
constexpr int CONSOLE_RING_LINES = 25;
// Lines printed since the console was last drawn that are kept to draw: more than a
// console window shows.
constexpr int CONSOLE_RECENT_LINES = 128;

// Palette: names for log lines, values in the platform's colour format.
extern const char* const palette_names[ZORVE_COLORS];
extern const COLORREF palette[ZORVE_COLORS];

int check_color(int color);

// Canvas and coordinates.
void canvas_create(HWND window);
void render_record(const DrawRecord& record);
void canvas_clear();
void canvas_present();
void canvas_size_changed(HWND window);
void canvas_paint(HWND window);

// Windows, menu and the event wait.
enum MenuCommand {
    MENU_ANIMATE = 1,
    MENU_HALT = 2,
    MENU_ADVANCE_FRAME = 3,
    MENU_LOGGING = 4,
    MENU_RECORD_SCRIPT = 5,
    MENU_PLAYBACK_SCRIPT = 6,
    MENU_PLAY_ONE = 7,
    MENU_QUIT = 8,
    MENU_INFO = 9,
    MENU_SAVE_PICTURE = 10
};
constexpr UINT_PTR ANIMATION_TIMER = 2;
constexpr UINT ANIMATION_PERIOD_MS = 100;

LRESULT CALLBACK graphics_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The keyboard focus leaves one of the runtime's windows for `next`.
void focus_leaving(HWND next);
// Sets or clears the check mark of a Run menu item.
void check_menu_item(UINT id, bool checked);
// Takes and dispatches at most one message; returns whether one was taken.
int pump_one_message();

// Event scripts.
constexpr const char* SCRIPT_NAME = "ZORVE.SCR";
void recording_start();
void recording_stop();
void playback_start();
void playback_stop();
void play_one_start();
void playback_end();
// 1: an event is pending; 0: none, playback ends; -1: none yet (a long stretch of
// blank lines), the next pass reads on.
int script_read_event();
void script_write_event(int kind, int x, int y, char key);
// The recorder step of a finished wait: counts periodic events, writes the others.
void script_record_event(int kind);
void script_close();

// Console: the last lines, kept to repaint from.
LRESULT CALLBACK console_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Draws the lines printed since the last time, as one-line scrolls would have.
void console_flush();
void console_show(int flag);
// Formats into a line buffer, cutting what does not fit; returns how many characters
// the formatting produced, cut or not.
int format_line(char (&buffer)[CONSOLE_BUFFER_SIZE], const char* format, va_list args);

// Pictures.
constexpr int PICTURE_NAMES_MAX = 9999;  // ZORVE1.png .. ZORVE9999.png
// The Run menu's Save Picture: the first free ZORVEn.png, and a word in the console.
void save_picture_command();

// The text dialog.
constexpr WORD ID_GETS_OKAY = 101;
constexpr WORD ID_GETS_EDIT = 102;
constexpr WORD ID_GETS_PROMPT = 103;
constexpr int GETS_PROMPT_CHARS = 79;
constexpr int GETS_TEMPLATE_SIZE = 292;
INT_PTR CALLBACK gets_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
void gets_build_template(BYTE (&dialog_template)[GETS_TEMPLATE_SIZE], const char* prompt);

// Called with every console line as formatted, for tests that read what the console
// shows beyond its last lines.
using ConsoleTap = void (*)(const char* line);

// Everything the runtime keeps between calls, in one place: one instance for the
// process, `runtime`. runtime_reset() returns it to how the process starts.
struct RuntimeState {
    // The windows, the menu, and the canvas that every drawing lands on.
    HWND graphics_window = nullptr;  // none: the runtime is not started
    HWND console_window = nullptr;
    HINSTANCE module_instance = nullptr;
    HMENU run_menu = nullptr;
    HDC window_dc = nullptr;  // the graphics window's, held from start to stop
    HDC canvas_dc = nullptr;
    HBITMAP canvas_bitmap = nullptr;
    int canvas_dirty = 1;  // the first pump step shows the canvas
    int origin_x = 0;      // the centre of the graphics window's client area
    int origin_y = 0;
    int client_width = 0;  // the graphics window's client area, as last sized
    int client_height = 0;
    bool stopped = false;  // ZORVE_stop was called since the last start

    // The event wait: the event of the wait under way, and what the window procedure
    // and the menu set for it.
    int pending_kind = ZORVE_NONE;
    int pending_x = 0;
    int pending_y = 0;
    char pending_key = 0;
    int run_flag = 0;
    int step_flag = 0;
    int tick_flag = 0;
    int quit_flag = 0;
    int ctrl_down = 0;
    int logging_flag = 1;

    // Event scripts: one file, opened by whichever of recording and playback needs it
    // first, in its own mode.
    FILE* script_file = nullptr;
    bool script_writing = false;
    int recording_flag = 0;
    int playing_flag = 0;
    int play_one_flag = 0;
    int periodic_count = 0;       // periodic events recorded and not yet written
    int play_periodic_count = 0;  // periodic events still to play from the last line
    int play_delivered = 0;       // events played since the file was opened
    const char* play_name = nullptr;  // what playback reads, when not ZORVE.SCR

    // A run without a display (ZORVE_HEADLESS=1, or a program linked with the headless
    // presenter alone): the console also goes to standard output, and the end of the
    // script it was given closes the graphics window.
    bool headless_run = false;
    bool quit_after_play = false;

    // The console's last lines, to repaint from.
    HGLOBAL line_ring[CONSOLE_RING_LINES] = {};
    int oldest_line = -1;
    int next_line = 0;
    ConsoleTap console_tap = nullptr;
    // Lines printed and not yet drawn in the window: how many, and the last of them.
    int console_pending = 0;
    char console_recent[CONSOLE_RECENT_LINES][CONSOLE_BUFFER_SIZE] = {};
    int console_recent_next = 0;

    // The text dialog's answer, while one is open.
    char* answer_buffer = nullptr;
};

extern RuntimeState runtime;

// Closes the windows, frees the canvas, the console's lines and the script file, and
// starts the state afresh, as a new process has it.
void runtime_reset();

#endif
