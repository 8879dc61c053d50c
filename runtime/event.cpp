// The event wait: pump one message per pass until an event is pending; periodic events
// are released by the next timer tick.
#include "runtime.h"

int pending_kind = ZORVE_NONE;
int pending_x = 0;
int pending_y = 0;
char pending_key = 0;

int pump_one_message() {
    MSG msg;
    const bool taken = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0;
    if (taken && msg.message == WM_QUIT) {
        pending_kind = ZORVE_QUIT;
        return 1;  // not dispatched, nothing presented in this pass
    }
    if (taken) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (canvas_dirty) canvas_present();
    return taken;
}

extern "C" {

int ZORVE_wait_event(EventRecord* event) {
    pending_kind = ZORVE_NONE;
    pending_key = 0;
    pending_y = 0;
    pending_x = 0;
    while (pending_kind == ZORVE_NONE || (pending_kind == ZORVE_PERIODIC && !tick_flag)) {
        const int taken = pump_one_message();
        // A quit taken in this pass wins over playback: the scripted event waits for the
        // next wait, and quitting or closing the window is never lost.
        if ((play_one_flag || playing_flag) && pending_kind != ZORVE_QUIT) {
            play_one_flag = 0;
            if (script_read_event()) break;  // a scripted event does not wait for a tick
            play_one_flag = 0;
            playing_flag = 0;
        }
        if ((step_flag || run_flag) && pending_kind == ZORVE_NONE) {
            pending_kind = ZORVE_PERIODIC;
            tick_flag = 0;
            step_flag = 0;
            play_one_flag = 0;
        }
        // Nothing was taken and nothing can happen without a new message: sleep until
        // input, a paint or the next tick instead of polling.
        const bool done = pending_kind != ZORVE_NONE && (pending_kind != ZORVE_PERIODIC || tick_flag);
        if (!taken && !done && !playing_flag && !play_one_flag) WaitMessage();
    }
    if (recording_flag) script_record_event(pending_kind);
    event->x = pending_x;
    event->y = pending_y;
    event->key = pending_key;
    return quit_flag ? ZORVE_QUIT : pending_kind;
}

int ZORVE_wait_event_xy(int* x, int* y, char* key) {
    EventRecord event;
    const int kind = ZORVE_wait_event(&event);
    *x = event.x;
    *y = event.y;
    *key = event.key;
    return kind;
}

}  // extern "C"
