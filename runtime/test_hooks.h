// What tests see of the runtime's insides, and the few ways they set it up beyond the
// public calls: tests go through these instead of naming the runtime's state, so that
// the state can change shape without touching them. Built into the test-only library
// zorve_test_hooks; not part of the runtime's interface (zorve.h), never installed.
#ifndef ZORVE_TEST_HOOKS_H
#define ZORVE_TEST_HOOKS_H

#include <string>
#include <vector>

#include "runtime.h"

namespace zorve_test {

// The runtime as it stands at the call: a copy, so take a new one after anything that
// may change it.
struct Snapshot {
    // Null while the runtime is not started.
    HWND graphics_window;
    HWND console_window;
    HMENU run_menu;
    HDC window_dc;  // the graphics window's, held from start to stop
    HDC canvas_dc;
    // The canvas's point (0, 0) in the graphics window's client area.
    int origin_x;
    int origin_y;
    int canvas_dirty;  // 1: drawn on since it was last shown
    bool stopped;      // ZORVE_stop was called since the last start
    // The Run menu's switches and the script's.
    int run_flag;
    int step_flag;
    int quit_flag;
    int logging_flag;
    int recording_flag;
    int playing_flag;
    ConsoleTap console_tap;
};
Snapshot snapshot();

// What the run's report is made of, and the animation being collected.
const RunRecord& run_record();
const AnimationCapture& animation();

// The lines the console keeps to repaint from, oldest first, read from its ring.
std::vector<std::string> console_ring();

// Logging on or off with nothing else changed: no check mark moved, the console left
// hidden, so a test reads the lines through its tap alone.
void set_logging_quietly(bool on);

// Hands every console line, as formatted, to `tap` (null: to nobody).
void set_console_tap(ConsoleTap tap);

// The canvas counts as shown, as if the last drawing had reached the screen.
void pretend_canvas_shown();

// The Run menu's switches and the script's as a start leaves them: animation halted,
// no step, no quit, Ctrl up, neither recording nor playing, the script file closed.
// Windows, canvas and logging stay.
void reset_switches();

// The script file playback reads next instead of ZORVE.SCR, as ZORVE_PLAY names it at
// start; the name must outlive the playback.
void set_playback_file(const char* name);

// Returns a started runtime to the state a fresh start leaves it in, keeping its windows,
// canvas and fonts: for a test that starts very often. The queue must be empty.
// `canvas_drawn`: something was drawn since the canvas was last black, as a new one is.
void restart_in_place(bool canvas_drawn);

// One read of the script reader outside any wait, as a wait of ZORVE_wait_input
// (`input_wait`) or a plain one would read; a periodic run longer than `periodic_most`
// is cut to it. Returns script_read_event's result.
int read_script_event(bool input_wait, int periodic_most);

}  // namespace zorve_test

#endif
