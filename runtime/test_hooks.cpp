// The tests' view of the runtime's state (test_hooks.h).
#include "test_hooks.h"

namespace zorve_test {

Snapshot snapshot() {
    const RuntimeState& r = runtime;
    Snapshot s;
    s.graphics_window = r.graphics_window;
    s.console_window = r.console_window;
    s.run_menu = r.run_menu;
    s.window_dc = r.window_dc;
    s.canvas_dc = r.canvas_dc;
    s.origin_x = r.origin_x;
    s.origin_y = r.origin_y;
    s.canvas_dirty = r.canvas_dirty;
    s.stopped = r.stopped;
    s.run_flag = r.run_flag;
    s.step_flag = r.step_flag;
    s.quit_flag = r.quit_flag;
    s.logging_flag = r.logging_flag;
    s.recording_flag = r.recording_flag;
    s.playing_flag = r.playing_flag;
    s.console_tap = r.console_tap;
    return s;
}

const RunRecord& run_record() { return runtime.run; }

const AnimationCapture& animation() { return runtime.animation; }

std::vector<std::string> console_ring() {
    // Walked here rather than through console_kept_line(), so that a test of the ring
    // does not take the runtime's own reading of it on trust.
    std::vector<std::string> lines;
    for (int i = runtime.oldest_line, n = 0; i >= 0 && !(i == runtime.next_line && n > 0);
         i = (i + 1) % CONSOLE_RING_LINES, ++n) {
        const char* text = static_cast<const char*>(GlobalLock(runtime.line_ring[i]));
        lines.emplace_back(text ? text : "");
        GlobalUnlock(runtime.line_ring[i]);
    }
    return lines;
}

void set_logging_quietly(bool on) { runtime.logging_flag = on ? 1 : 0; }

void set_console_tap(ConsoleTap tap) { runtime.console_tap = tap; }

void pretend_canvas_shown() { runtime.canvas_dirty = 0; }

void reset_switches() {
    script_close();
    RuntimeState& r = runtime;
    r.run_flag = r.step_flag = r.tick_flag = r.quit_flag = r.ctrl_down = 0;
    r.recording_flag = r.playing_flag = r.play_one_flag = 0;
    r.periodic_count = 0;
}

void set_playback_file(const char* name) { runtime.play_name = name; }

void restart_in_place(bool canvas_drawn) {
    script_close();
    animation_abandon();  // an animation still collecting holds its encoder
    for (HGLOBAL& line : runtime.line_ring)
        if (line) GlobalFree(line);
    static RuntimeState fresh;  // large: not on the stack
    fresh = RuntimeState{};
    fresh.graphics_window = runtime.graphics_window;
    fresh.console_window = runtime.console_window;
    fresh.module_instance = runtime.module_instance;
    fresh.run_menu = runtime.run_menu;
    fresh.window_dc = runtime.window_dc;
    fresh.canvas_dc = runtime.canvas_dc;
    fresh.canvas_bitmap = runtime.canvas_bitmap;
    runtime = fresh;
    canvas_size_changed(runtime.graphics_window);
    // A new canvas is black and its DC has the default colours. Only drawing calls
    // draw on it, so one that none reached is black still.
    if (canvas_drawn) {
        HGDIOBJ pen = SelectObject(runtime.canvas_dc, GetStockObject(NULL_PEN));
        HGDIOBJ brush = SelectObject(runtime.canvas_dc, GetStockObject(BLACK_BRUSH));
        Rectangle(runtime.canvas_dc, 0, 0, CANVAS_WIDTH + 1, CANVAS_HEIGHT + 1);
        SelectObject(runtime.canvas_dc, pen);
        SelectObject(runtime.canvas_dc, brush);
    }
    SetTextColor(runtime.canvas_dc, RGB(0, 0, 0));
    SetBkColor(runtime.canvas_dc, RGB(255, 255, 255));
    SetBkMode(runtime.canvas_dc, OPAQUE);
    check_menu_item(MENU_LOGGING, true);
    check_menu_item(MENU_RECORD_SCRIPT, false);
    check_menu_item(MENU_PLAYBACK_SCRIPT, false);
    SetFocus(nullptr);
    ReleaseCapture();
    runtime.ctrl_down = 0;
    ShowWindow(runtime.console_window, SW_SHOWNORMAL);
    ShowWindow(runtime.graphics_window, SW_SHOWNORMAL);
    InvalidateRect(runtime.console_window, nullptr, TRUE);
    InvalidateRect(runtime.graphics_window, nullptr, TRUE);
    SetTimer(runtime.graphics_window, ANIMATION_TIMER, ANIMATION_PERIOD_MS, nullptr);
}

int read_script_event(bool input_wait, int periodic_most) {
    runtime.input_wait = input_wait;
    const int read = script_read_event();
    runtime.input_wait = false;
    if (runtime.play_periodic_count > periodic_most) runtime.play_periodic_count = periodic_most;
    return read;
}

}  // namespace zorve_test
