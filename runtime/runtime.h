// The runtime's own state and internal routines, shared by its files.
#ifndef ZORVE_RUNTIME_H
#define ZORVE_RUNTIME_H

#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "codec/gif_codec.h"
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
// console window shows. The newest of them are in the ring.
constexpr int CONSOLE_RECENT_LINES = 128;

// Palette: names for log lines, values in the platform's colour format.
extern const char* const palette_names[ZORVE_COLORS];
extern const COLORREF palette[ZORVE_COLORS];

int check_color(int color);

// Canvas and coordinates.
void canvas_create(HWND window);
void render_record(const DrawRecord& record);
// One pixel, as render_record draws a pixel's record: a card's outlines are drawn a
// pixel at a time, a hundred thousand a frame, without building a record for each.
void render_pixel(int color, DrawPoint p);
void canvas_clear();
void canvas_present();
void canvas_size_changed(HWND window);
void canvas_paint(HWND window);
// The width of the widest line of `text` in the font of drawn text.
int canvas_text_width(int ptsize, const char* text);

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
    MENU_SAVE_PICTURE = 10,
    MENU_SAVE_ANIMATION = 11
};
constexpr UINT_PTR ANIMATION_TIMER = 2;
constexpr UINT ANIMATION_PERIOD_MS = 100;
constexpr int TICK_MS_MIN = 10;
constexpr int TICK_MS_MAX = 1000;
constexpr int INPUT_DEFAULT = ZORVE_INPUT_RELEASE | ZORVE_INPUT_DRAG | ZORVE_INPUT_BUTTONS | ZORVE_INPUT_KEYS;

LRESULT CALLBACK graphics_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The keyboard focus leaves one of the runtime's windows for `next`.
void focus_leaving(HWND next);
// Sets or clears the check mark of a Run menu item.
void check_menu_item(UINT id, bool checked);
// Takes and dispatches at most one message; returns whether one was taken.
int pump_one_message();
// The wait of ZORVE_wait_event and ZORVE_wait_input: passes until an event is pending,
// hands it to the recorder, and returns its kind (ZORVE_QUIT after ANIMATE_QUIT).
int wait_for_event();
// The graphics window's messages of the extra input (buttons let go, right and middle
// buttons, moves, keys by their code): they set the pending event only in a wait of
// ZORVE_wait_input that asks for them. Key-down returns whether it took the key.
void input_mouse_message(UINT message, WPARAM wparam, LPARAM lparam);
bool input_key_down(WPARAM key);
void input_key_up(WPARAM key);
void input_character(int character);
// Whether the extra kind `kind` (with `button`, for mouse kinds) is asked for now.
bool input_wanted(int kind, int button);

// Event scripts.
constexpr const char* SCRIPT_NAME = "ZORVE.SCR";
// A script line is read with a buffer of this size: event lines are judged by at most
// SCRIPT_LINE_SIZE - 1 characters, and the rest of a longer line is skipped.
constexpr int SCRIPT_LINE_SIZE = 512;
// An answer line keeps this much of itself: an answer of 255 characters, every one
// escaped, still fits.
constexpr int SCRIPT_TEXT_LINE_SIZE = 1024;
// The dialog's answer buffer.
constexpr int GETS_ANSWER_SIZE = 256;
void recording_start();
void recording_stop();
void playback_start();
void playback_stop();
void play_one_start();
void playback_end();
// 1: an event is pending; 0: none, playback ends; -1: none yet (a long stretch of
// blank lines), the next pass reads on. Lines of the extra input are played only into
// a wait that asks for them; others skip them.
int script_read_event();
// Kinds are the events' own, and for a press of the right or middle button:
constexpr int ZORVE_BUTTON_PRESS = 100;
void script_write_event(int kind, int x, int y, char key);
// The line a recording writes for an event of `kind` (a run of `periodic` periodic
// events for ZORVE_PERIODIC), with its line end; returns its length, 0 for a kind that
// has no line (a quit).
int script_event_line(char (&line)[SCRIPT_LINE_SIZE], int kind, int x, int y, char key, int periodic);
// The answer line of a dialog's answer, with its line end.
void script_answer_line(char (&line)[SCRIPT_TEXT_LINE_SIZE], const char* answer);
// The answer typed into a dialog, as a script line of its own (while recording).
void script_write_answer(const char* answer);
// While a script plays and its next line is an answer line, takes it into `answer`.
bool script_take_answer(char (&answer)[GETS_ANSWER_SIZE]);
// The recorder step of a finished wait: counts periodic events, writes the others.
void script_record_event(int kind);
void script_close();
// The events a playback still had to give, counted from where it stands (the file is
// read to its end).
long long script_events_left();

// The session (ZORVE_SESSION): every event of the run, in the lines of a recording,
// for a web page to hand on. Bounded: past this size it is no longer kept.
constexpr long SESSION_BYTES_MAX = 64 * 1024;
void session_start(const char* path);
// The waits' step: each event returned, as the recorder takes it.
void session_record_event(int kind);
void session_write_answer(const char* answer);
void session_close();

// Console: the last lines, kept to repaint from.
LRESULT CALLBACK console_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Draws the lines printed since the last time, as one-line scrolls would have.
void console_flush();
void console_show(int flag);
// Formats into a line buffer, cutting what does not fit; returns how many characters
// the formatting produced, cut or not.
int format_line(char (&buffer)[CONSOLE_BUFFER_SIZE], const char* format, va_list args);
// Stores a formatted line and draws it at the next wait; returns its length.
size_t console_store(const char* line);
// The ring's lines, oldest first: how many it holds, and the block of the k-th (null
// for a line that could not be kept).
int console_kept_lines();
HGLOBAL console_kept_line(int k);
// A file name as a message shows it: control characters escaped (\n, \t, \xHH), so
// that a name cannot break a console line, and a name too long shortened in the middle,
// so that the reason after it still fits the line.
constexpr int SHOWN_NAME_CHARS = 400;
struct ShownName {
    char text[SHOWN_NAME_CHARS + 1];
};
ShownName shown_name(const char* name);

// The run: what a run report tells, and the bounds of a run without a display.
// Reads ZORVE_REPORT, ZORVE_TICKS and ZORVE_PLAY at start.
void run_start();
// The program called ZORVE_stop: the snapshot and the report are written.
void run_stop();
// A periodic timer tick reached the graphics window.
void run_tick();
// The script a headless run was given has ended.
void run_script_ended();
// A wait returned `kind` to the program.
void run_event_delivered(int kind);
// The graphics window is asked to close.
void run_window_closing();
// A dialog was answered.
void run_dialog(const char* prompt, const char* answer, const char* source);
// A problem of the runtime's own (a script or picture that fails, a call out of order):
// one console line, shown; in a run without a display it goes to standard error rather
// than standard output, and the report keeps it.
void runtime_problem(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
// Says once on standard error that `call` was made before ZORVE_start; false.
bool runtime_not_started(const char* call);

// Files written whole: under a temporary name created exclusively beside their place,
// then moved there; only a plain file is replaced. Each returns nullptr when written,
// else why not, in the C library's words.
const char* file_write_whole(const char* path, const void* bytes, size_t size);
// To the first free name of `pattern` (one %d) numbered 1 to `last`, given in `name`;
// FILE_NAMES_TAKEN when all exist.
const char* file_write_numbered(const char* pattern, int last, const void* bytes, size_t size, std::string* name);
extern const char FILE_NAMES_TAKEN[];
// Why what has this name cannot be replaced by a file of ours, or nullptr when it can.
const char* file_not_replaceable(const char* path);

// Pictures.
constexpr int PICTURE_NAMES_MAX = 9999;  // ZORVE1.png .. ZORVE9999.png
// The Run menu's Save Picture: the first free ZORVEn.png, and a word in the console.
void save_picture_command();

// Animations (ZORVE_save_animation): frames collected at the ticks of the timer.
constexpr int ANIMATION_FRAMES_MAX = 300;
constexpr int ANIMATION_MENU_FRAMES = 30;  // Run > Save Animation: three seconds at 100 ms
// While frames collected and not yet encoded hold this many bytes, each tick also
// encodes the oldest of them, so that a long animation of big changes does not pile up
// in memory (30 frames of the whole window stay below it).
constexpr size_t ANIMATION_PENDING_BYTES = 48u << 20;
// The Run menu's Save Animation: the first free ZORVEn.gif.
void save_animation_command();
// A tick of the timer: the next frame of an animation being collected.
void animation_tick();
// The run ends while an animation is collected: what was collected is written, and the
// console says why it is short (`why`: "the program stopped").
void animation_end_early(const char* why);
// Drops an animation being collected, writing nothing (the runtime starts afresh).
void animation_abandon();

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

// An animation being collected: the frame last taken whole, and since then each frame
// as the rectangle of it that changed, until the encoder takes them.
struct AnimationFrame {
    int x = 0, y = 0, width = 0, height = 0;  // nothing changed: 0 x 0
    int delay_cs = 0;
    std::vector<uint32_t> pixels;
};
struct AnimationCapture {
    bool collecting = false;
    std::string file;
    int frames_wanted = 0;
    int frames_taken = 0;
    int width = 0, height = 0;       // the client area's, when collecting started
    std::vector<uint32_t> previous;  // the last frame taken
    std::vector<uint32_t> band;      // rows as they are read from the canvas
    std::vector<AnimationFrame> pending;
    size_t pending_bytes = 0;
    long long elapsed_ms = 0;   // the frames' time so far, and as their delays give it
    long long elapsed_cs = 0;
    codec::GifAnimation gif;
};

// What happened in a run, for its report (ZORVE_REPORT) and the bounds of a run
// without a display.
struct RunDialog {
    std::string prompt;
    std::string answer;
    const char* source;  // "script", "person" or "none"
};
constexpr int RUN_EVENT_KINDS = 9;  // indexed by event kind, 0 unused
constexpr int RUN_DIALOGS_KEPT = 100;
constexpr int RUN_PROBLEMS_KEPT = 50;
struct RunRecord {
    const char* report_path = nullptr;  // ZORVE_REPORT
    bool started = false;
    long long events[RUN_EVENT_KINDS] = {};
    long long ticks = 0;          // timer ticks seen
    long long tick_time_ms = 0;   // the time they stand for
    long long ticks_counted = 0;  // ticks towards the bound: past the script's end
    long long tick_limit = -1;    // ZORVE_TICKS, or none
    bool script_over = true;      // no script, or the one given has ended
    const char* end = nullptr;    // why the run closed its window, when it did
    // The script, as its playback went.
    std::string script_file;
    long long script_lines = 0;      // lines read
    long long script_events = 0;     // events played
    long long script_stop_line = 0;  // where playback stopped, and why
    std::string script_stop_text;
    const char* script_stop_why = nullptr;
    long long answers_skipped = 0;   // answer lines that no dialog took
    long long newer_skipped = 0;     // lines of the extra input a plain wait skipped
    long long script_left = -1;      // events not played when the run ended; -1: not counted
    std::vector<RunDialog> dialogs;
    long long dialogs_total = 0;
    long long dialogs_unanswered = 0;
    // The picture asked for with ZORVE_SNAPSHOT.
    std::string picture_file;
    int picture_written = -1;  // -1 not yet tried, 0 failed, 1 written
    std::string picture_why;
    long long console_lines = 0;
    std::vector<std::string> problems;
    long long problems_total = 0;
};

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
    // The extra input's fields of the pending event (ZORVE_wait_input).
    int pending_button = 0;
    int pending_code = 0;  // a key's character or ZORVE_KEY_ code
    int pending_ctrl = 0;
    int pending_shift = 0;
    int run_flag = 0;
    int step_flag = 0;
    int tick_flag = 0;
    int quit_flag = 0;
    int ctrl_down = 0;
    int logging_flag = 1;

    // The extra input: what ZORVE_wait_input returns, whether the wait under way is one
    // of its waits, and what keys typed (a key let go reports the character it typed).
    int input_kinds = INPUT_DEFAULT;
    bool input_wait = false;
    bool input_used = false;  // ZORVE_wait_input was called: drags capture the mouse
    int shift_down = 0;
    int tick_ms = ANIMATION_PERIOD_MS;
    WPARAM last_key_down = 0;
    int key_typed[256] = {};  // by key code: the character + 1 it typed, or 0

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
    long long play_line = 0;          // lines read since the file was opened
    // The next line, read ahead to see whether a dialog takes it.
    bool peeked = false;
    int peeked_result = 0;
    char peeked_line[SCRIPT_TEXT_LINE_SIZE] = {};

    // The session, when ZORVE_SESSION asks for it: its file, how much is written, and
    // where the line of the current run of periodic events starts.
    FILE* session_file = nullptr;
    std::string session_path;
    long session_end = 0;
    long session_run_at = 0;
    int session_periodic = 0;

    // A run without a display (ZORVE_HEADLESS=1, or a program linked with the headless
    // presenter alone): the console also goes to standard output, and the end of the
    // script it was given closes the graphics window.
    bool headless_run = false;
    bool quit_after_play = false;

    // The run as its report tells it.
    RunRecord run;
    std::vector<const char*> said_before_start;  // calls made before ZORVE_start, said once

    // The scripted answer for the dialog being opened, if the script holds one.
    bool gets_scripted = false;
    char gets_script_answer[GETS_ANSWER_SIZE] = {};

    // The console's last lines, to repaint from.
    HGLOBAL line_ring[CONSOLE_RING_LINES] = {};
    int oldest_line = -1;
    int next_line = 0;
    ConsoleTap console_tap = nullptr;
    // Lines printed and not yet drawn in the window: how many, and those of them that
    // left the ring before they were drawn (the last of them, oldest first from `next`).
    int console_pending = 0;
    char console_undrawn[CONSOLE_RECENT_LINES - CONSOLE_RING_LINES][CONSOLE_BUFFER_SIZE] = {};
    int console_undrawn_next = 0;

    // The text dialog's answer, while one is open.
    char* answer_buffer = nullptr;

    // An animation being collected (ZORVE_save_animation).
    AnimationCapture animation;
};

extern RuntimeState runtime;

// Whether the runtime was started; if not, says once on standard error that `call` was
// made before ZORVE_start. Inline: every drawing call asks, a hundred thousand a frame.
inline bool runtime_started(const char* call) {
    return runtime.graphics_window || runtime_not_started(call);
}

// Closes the windows, frees the canvas, the console's lines and the script file, and
// starts the state afresh, as a new process has it.
void runtime_reset();

#endif
