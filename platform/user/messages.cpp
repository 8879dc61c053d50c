// The thread's message queue: posted and input messages in arrival order, then the quit
// message, then paint for invalid windows, then due timers; and the wait for them.
#include <algorithm>

#include "../presenter.h"
#include "user.h"

namespace zp {

namespace {

struct Timer {
    HWND window;
    UINT_PTR id;
    int64_t period;
    int64_t due;
    TIMERPROC callback;
};

struct Queue {
    std::deque<MSG> posted;
    bool quit = false;
    int quit_code = 0;
    std::vector<Timer> timers;
    bool ctrl_down = false;
    bool shift_down = false;
    WPARAM buttons = 0;  // MK_LBUTTON, MK_RBUTTON, MK_MBUTTON held
};

Queue& queue() {
    static Queue& q = *new Queue;  // never destroyed, as the windows it serves
    return q;
}

bool in_range(UINT message, UINT first, UINT last) {
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

bool matches(HWND filter, HWND window) { return !filter || filter == window; }

MSG make(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    MSG m{};
    m.hwnd = window;
    m.message = message;
    m.wParam = wparam;
    m.lParam = lparam;
    m.time = static_cast<DWORD>(presenter().now_ms());
    return m;
}

// Key state as Win32 keeps it: updated as key messages are taken from the queue.
void track_keys(const MSG& m) {
    if (m.message != WM_KEYDOWN && m.message != WM_KEYUP) return;
    bool down = m.message == WM_KEYDOWN;
    if (m.wParam == VK_CONTROL) queue().ctrl_down = down;
    if (m.wParam == VK_SHIFT) queue().shift_down = down;
}

Window* window_to_paint(HWND filter) {
    return find_window_if([filter](const Window& w) {
        return !(w.style & WS_CHILD) && w.visible && w.invalid && matches(filter, w.handle);
    });
}

Timer* due_timer(HWND filter, int64_t now) {
    Timer* first = nullptr;
    for (Timer& t : queue().timers)
        if (t.due <= now && matches(filter, t.window) && (!first || t.due < first->due)) first = &t;
    return first;
}

}  // namespace

void forget_window_messages(HWND handle) {
    Queue& q = queue();
    q.posted.erase(std::remove_if(q.posted.begin(), q.posted.end(),
                                  [&](const MSG& m) { return m.hwnd == handle; }),
                   q.posted.end());
    q.timers.erase(std::remove_if(q.timers.begin(), q.timers.end(),
                                  [&](const Timer& t) { return t.window == handle; }),
                   q.timers.end());
}

// A focus change from the presenter waits in the queue behind the input that came
// before it: a key pressed and then the focus lost must reach the program in that
// order. It is made, never dispatched, when it reaches the front at the next look at
// the queue (the message before it has been dispatched by then).
constexpr UINT FOCUS_CHANGE = 0x7FFE;

void apply_focus_changes() {
    Queue& q = queue();
    while (!q.posted.empty() && q.posted.front().message == FOCUS_CHANGE) {
        const MSG m = q.posted.front();
        q.posted.pop_front();
        change_focus(m.hwnd, m.wParam != 0);
    }
}

void input_focus(HWND window, bool gained) {
    if (!find_window(window)) return;
    queue().posted.push_back(make(window, FOCUS_CHANGE, gained ? 1 : 0, 0));
}

void forget_held_keys() {
    queue().ctrl_down = false;
    queue().shift_down = false;
}

bool messages_available() {
    Queue& q = queue();
    return !q.posted.empty() || q.quit || window_to_paint(nullptr) ||
           due_timer(nullptr, presenter().now_ms());
}

int character_of_key(int vk, bool ctrl, bool shift) {
    if (vk >= 'A' && vk <= 'Z') return ctrl ? vk - 'A' + 1 : (shift ? vk : vk + ('a' - 'A'));
    if (ctrl) return 0;
    if (vk >= '0' && vk <= '9') return vk;
    switch (vk) {
        case VK_SPACE: return ' ';
        case VK_RETURN: return '\r';
        case VK_BACK: return '\b';
        case VK_TAB: return '\t';
        case VK_ESCAPE: return 27;
        default: return 0;
    }
}

// The button a mouse message presses or lets go, as its MK_ flag; 0 for a move.
WPARAM button_of(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: return MK_LBUTTON;
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: return MK_RBUTTON;
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: return MK_MBUTTON;
        default: return 0;
    }
}

void input_mouse(HWND window, UINT message, int x, int y) {
    if (!find_window(window)) return;
    Queue& q = queue();
    const WPARAM button = button_of(message);
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN)
        q.buttons |= button;
    else
        q.buttons &= ~button;
    const WPARAM held = q.buttons | (q.ctrl_down ? MK_CONTROL : 0) | (q.shift_down ? MK_SHIFT : 0);
    // Coordinates as 16-bit halves, negative ones too (a captured drag past the left).
    const LPARAM where = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
    // Win32 keeps no queue of moves: one that has not been taken yet is replaced by the
    // latest, so a fast hand never floods the program.
    if (message == WM_MOUSEMOVE && !q.posted.empty() && q.posted.back().message == WM_MOUSEMOVE &&
        q.posted.back().hwnd == window && q.posted.back().wParam == held) {
        q.posted.back() = make(window, message, held, where);
        return;
    }
    q.posted.push_back(make(window, message, held, where));
}

void input_key(HWND window, UINT message, int virtual_key, int character) {
    if (!find_window(window)) return;
    // lParam: repeat count 1; key-up also has the previous-state and transition bits.
    LPARAM lparam = message == WM_KEYUP ? static_cast<LPARAM>(0xC0000001u) : 1;
    MSG m = make(window, message, static_cast<WPARAM>(virtual_key), lparam);
    if (message == WM_KEYDOWN && character > 0) m.lPrivate = static_cast<DWORD>(character) + 1;
    queue().posted.push_back(m);
}

void input_menu_command(HWND window, UINT id) {
    if (!find_window(window)) return;
    queue().posted.push_back(make(window, WM_COMMAND, id, 0));
}

void input_close(HWND window) {
    if (!find_window(window)) return;
    queue().posted.push_back(make(window, WM_SYSCOMMAND, SC_CLOSE, 0));
}

bool timers_running() { return !queue().timers.empty(); }

}  // namespace zp

using namespace zp;

extern "C" {

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT remove) {
    flush_drawn_windows();
    presenter().poll();
    apply_focus_changes();
    Queue& q = queue();
    const bool take = (remove & PM_REMOVE) != 0;
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (it->message == FOCUS_CHANGE) continue;
        if (!matches(window, it->hwnd) || !in_range(it->message, first, last)) continue;
        *msg = *it;
        if (take) {
            q.posted.erase(it);
            track_keys(*msg);
        }
        return TRUE;
    }
    if (q.quit && in_range(WM_QUIT, first, last)) {
        *msg = make(nullptr, WM_QUIT, static_cast<WPARAM>(q.quit_code), 0);
        if (take) q.quit = false;
        return TRUE;
    }
    if (in_range(WM_PAINT, first, last)) {
        if (Window* w = window_to_paint(window)) {
            *msg = make(w->handle, WM_PAINT, 0, 0);  // stays until the window is validated
            return TRUE;
        }
    }
    if (in_range(WM_TIMER, first, last)) {
        const int64_t now = presenter().now_ms();
        if (Timer* t = due_timer(window, now)) {
            *msg = make(t->window, WM_TIMER, t->id, reinterpret_cast<LPARAM>(t->callback));
            if (take) t->due = now + t->period;  // one pending tick per timer, never queued up
            return TRUE;
        }
    }
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    Queue& q = queue();
    int ch = msg->lPrivate ? static_cast<int>(msg->lPrivate) - 1
                           : character_of_key(static_cast<int>(msg->wParam), q.ctrl_down,
                                              q.shift_down);
    if (ch <= 0) return FALSE;
    if (q.ctrl_down && ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')))
        ch = (ch & 0x1F);  // Ctrl+letter types the control character
    // The character comes before input that arrived later, as a posted message does.
    q.posted.push_front(make(msg->hwnd, WM_CHAR, static_cast<WPARAM>(ch), msg->lParam));
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    Window* w = find_window(msg->hwnd);
    if (!w) return 0;
    return send(*w, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (window && !find_window(window)) return FALSE;
    queue().posted.push_back(make(window, message, wparam, lparam));
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* w = find_window(window);
    return w ? send(*w, message, wparam, lparam) : 0;
}

void WINAPI PostQuitMessage(int exit_code) {
    queue().quit = true;
    queue().quit_code = exit_code;
}

BOOL WINAPI WaitMessage(void) {
    flush_drawn_windows();
    for (;;) {
        presenter().poll();
        if (messages_available()) return TRUE;
        int64_t timeout = -1;
        const int64_t now = presenter().now_ms();
        for (const Timer& t : queue().timers)
            timeout = timeout < 0 ? std::max<int64_t>(0, t.due - now)
                                  : std::min(timeout, std::max<int64_t>(0, t.due - now));
        presenter().wait(timeout);
        if (messages_available()) return TRUE;
    }
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC callback) {
    if (window && !find_window(window)) return 0;
    const int64_t period = std::max<UINT>(elapse, 10);  // Win32's minimum (USER_TIMER_MINIMUM)
    const int64_t due = presenter().now_ms() + period;
    for (Timer& t : queue().timers) {
        if (t.window == window && t.id == id) {
            t = {window, id, period, due, callback};
            return id ? id : 1;
        }
    }
    queue().timers.push_back({window, id, period, due, callback});
    return id ? id : 1;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    auto& timers = queue().timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const Timer& t) { return t.window == window && t.id == id; });
    if (it == timers.end()) return FALSE;
    timers.erase(it);
    return TRUE;
}

}  // extern "C"
