// The event wait: pump one message per pass until an event is pending; periodic events
// are released by the next timer tick.
#include "runtime.h"

int pump_one_message() {
    MSG msg;
    const bool taken = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0;
    if (taken && msg.message == WM_QUIT) {
        runtime.pending_kind = ZORVE_QUIT;
        return 1;  // not dispatched, nothing presented in this pass
    }
    if (taken) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    console_flush();
    if (runtime.canvas_dirty) canvas_present();
    return taken;
}

namespace {

// Whether the wait has its event: any pending one, a periodic one only once the tick
// that releases it has come.
bool event_ready() {
    return runtime.pending_kind != ZORVE_NONE && (runtime.pending_kind != ZORVE_PERIODIC || runtime.tick_flag);
}

}  // namespace

int wait_for_event() {
    runtime.pending_kind = ZORVE_NONE;
    runtime.pending_key = 0;
    runtime.pending_y = 0;
    runtime.pending_x = 0;
    runtime.pending_button = 0;
    runtime.pending_code = 0;
    runtime.pending_ctrl = 0;
    runtime.pending_shift = 0;
    while (!event_ready()) {
        const int taken = pump_one_message();
        // A quit taken in this pass wins over playback: the scripted event waits for the
        // next wait, and quitting or closing the window is never lost.
        if ((runtime.play_one_flag || runtime.playing_flag) && runtime.pending_kind != ZORVE_QUIT) {
            const int play_one = runtime.play_one_flag;
            runtime.play_one_flag = 0;
            const int read = script_read_event();
            if (read == 1) break;  // a scripted event does not wait for a tick
            if (read < 0) {
                runtime.play_one_flag = play_one;  // nothing yet: read on in the next pass
                continue;
            }
            runtime.play_one_flag = 0;
            runtime.playing_flag = 0;
            if (runtime.quit_after_play) {
                // The script a headless run was given has ended: so does the run, as
                // when the person closes the window (at once, or after the ticks that
                // ZORVE_TICKS asks for).
                runtime.quit_after_play = false;
                run_script_ended();
            }
        }
        if ((runtime.step_flag || runtime.run_flag) && runtime.pending_kind == ZORVE_NONE) {
            runtime.pending_kind = ZORVE_PERIODIC;
            runtime.tick_flag = 0;
            runtime.step_flag = 0;
            runtime.play_one_flag = 0;
        }
        // Nothing was taken and nothing can happen without a new message: sleep until
        // input, a paint or the next tick instead of polling.
        if (!taken && !event_ready() && !runtime.playing_flag && !runtime.play_one_flag) WaitMessage();
    }
    if (runtime.recording_flag) script_record_event(runtime.pending_kind);
    session_record_event(runtime.pending_kind);
    const int kind = runtime.quit_flag ? ZORVE_QUIT : runtime.pending_kind;
    run_event_delivered(kind);
    return kind;
}

extern "C" {

int ZORVE_wait_event(EventRecord* event) {
    if (!runtime_started("ZORVE_wait_event")) {
        // No window could ever bring an event: waiting would be for ever.
        if (event) *event = EventRecord{};
        return ZORVE_QUIT;
    }
    const int kind = wait_for_event();
    // Without a record the wait still happens: the program learns the kind.
    if (event) {
        event->x = runtime.pending_x;
        event->y = runtime.pending_y;
        event->key = runtime.pending_key;
    }
    return kind;
}

int ZORVE_wait_event_xy(int* x, int* y, char* key) {
    EventRecord event{};
    if (!runtime_started("ZORVE_wait_event_xy")) {
        if (x) *x = 0;
        if (y) *y = 0;
        if (key) *key = 0;
        return ZORVE_QUIT;
    }
    const int kind = ZORVE_wait_event(&event);
    if (x) *x = event.x;
    if (y) *y = event.y;
    if (key) *key = event.key;
    return kind;
}

}  // extern "C"
