// The whole runtime under arbitrary use: the input is decoded into a sequence of calls
// (every drawing call with any arguments, logging, animation, waits answered by
// clicks, keys, ticks, menu commands and closing, scripts recorded and played back,
// the console, the text dialog, stopping and starting again) on the headless
// presenter. After each step the runtime holds exactly the GDI objects it held after
// starting; virtual time is bounded, so every input ends.
//
// An input pays for its own calls only: the windows, the canvas and the fonts of the
// last input are kept and returned to how a fresh start leaves them, and built anew
// only when the input closed, stopped or left them in a state a start cannot reach.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/display/headless.h"
#include "platform/gdi/counts.h"
#include "platform/presenter.h"
#include "runtime/test_hooks.h"

namespace hl = zp::headless;

namespace {

// Reads the input front to back; past its end everything reads as zero.
struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;

    bool done() const { return at >= size; }
    uint8_t byte() { return at < size ? data[at++] : 0; }
    int32_t number() {
        // Mostly small numbers, sometimes any 32-bit value.
        const uint8_t kind = byte();
        if (kind < 200) return static_cast<int8_t>(byte()) * (kind % 5 + 1);
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | byte();
        return static_cast<int32_t>(v);
    }
    int32_t width() {
        // Pens as programs use them, mostly: a pen of hundreds of pixels stamps a disc
        // at every point of an outline, the cost of thousands of other calls, so any
        // width comes one time in eight.
        const uint8_t kind = byte();
        return kind < 224 ? kind % 17 : number();
    }
    std::string text(size_t most) {
        const size_t n = byte() % (most + 1);
        std::string s;
        for (size_t i = 0; i < n && !done(); ++i) s += static_cast<char>(byte());
        return s;
    }
};

constexpr int MAX_STEPS = 400;
constexpr int MAX_IDLE_CALLS = 64;    // the person's actions in one wait
constexpr int64_t MAX_CLOCK_MS = 60000;  // virtual time one input may use

Input* input = nullptr;
int idle_calls = 0;
int64_t clock_start = 0;
bool canvas_drawn = false;  // since the canvas was last black, as a new one is

// The person, played from the input whenever the program waits with nothing to do.
void person_acts() {
    const HWND w = zorve_test::snapshot().graphics_window;
    if (++idle_calls > MAX_IDLE_CALLS || input->done() ||
        hl::now_ms() - clock_start > MAX_CLOCK_MS) {
        // Enough: the person closes the window, as anyone may.
        if (IsWindow(w)) hl::close_window(w);
        if (HWND dialog = FindWindowA(nullptr, "ZORVE_gets")) hl::press_key(dialog, VK_RETURN);
        return;
    }
    const uint8_t action = input->byte();
    switch (action % 12) {
        case 0: hl::click(w, input->number(), input->number()); break;
        // The extra input: buttons held and let go anywhere, the pointer moved, keys
        // without characters held and let go.
        case 9: {
            const int button = 1 + input->byte() % 3;
            if (input->byte() & 1)
                hl::button_down(w, button, input->number(), input->number());
            else
                hl::button_up(w, button, input->number(), input->number());
            break;
        }
        case 10: hl::move_mouse(w, input->number(), input->number()); break;
        case 11: {
            static const int keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT,
                                       VK_INSERT, VK_DELETE, VK_F1, VK_F4, VK_F12, VK_SHIFT, VK_CONTROL, 'G'};
            const int key = keys[input->byte() % 16];
            if (input->byte() & 1)
                hl::key_down(w, key);
            else
                hl::key_up(w, key);
            break;
        }
        case 1: hl::press_key(w, input->byte()); break;
        case 2: hl::press_ctrl_key(w, "AHFLRPOQ"[input->byte() % 8]); break;
        case 3: {
            // Save Picture encodes the whole window and Save Animation allocates two
            // canvases, each the cost of a hundred other calls: they stay among the
            // commands, picked an eighth as often as the others.
            unsigned id = input->byte() % 12;
            if ((id == MENU_SAVE_PICTURE || id == MENU_SAVE_ANIMATION) && input->byte() % 8 != 0) id = MENU_INFO;
            hl::menu_command(w, id);
            break;
        }
        case 4: hl::type_text(w, input->text(8).c_str()); break;
        case 5: hl::focus(w, input->byte() & 1); break;
        case 6: hl::advance_clock(1 + input->byte() % 250); break;
        case 7:
            if (HWND dialog = FindWindowA(nullptr, "ZORVE_gets")) {
                hl::type_text(dialog, input->text(20).c_str());
                hl::press_key(dialog, input->byte() & 1 ? VK_RETURN : VK_ESCAPE);
            } else {
                hl::advance_clock(ANIMATION_PERIOD_MS);
            }
            break;
        default: hl::close_window(w); break;
    }
}

void write_file(const char* name, const std::string& content) {
    if (std::FILE* f = std::fopen(name, "wb")) {
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }
}

void start() {
    static char command_line[] = "";
    ZORVE_start(nullptr, nullptr, command_line, SW_SHOWNORMAL);
}

// A plausible script more often than not, so that playback gets past its first line.
std::string script_text(Input& in) {
    if (in.byte() & 1) return in.text(200);
    std::string s;
    const int lines = in.byte() % 8;
    for (int i = 0; i < lines; ++i) {
        char line[64];
        switch (in.byte() % 10) {
            case 0: std::snprintf(line, sizeof line, "ZORVE_MOUSE(%d, %d);\n", in.number(), in.number()); break;
            case 4: std::snprintf(line, sizeof line, "ZORVE_UP(%d, %d, %d);\n", in.number(), in.number(), in.byte() % 5); break;
            case 5: std::snprintf(line, sizeof line, "ZORVE_XY(%d, %d, %d);\n", in.number(), in.number(), in.byte() % 5); break;
            case 6:
                std::snprintf(line, sizeof line, "ZORVE_BUTTON(%d, %d, %d);\n", in.number(), in.number(), in.byte() % 5);
                break;
            case 7: std::snprintf(line, sizeof line, "ZORVE_SPECIAL(%d);\n", 250 + in.byte() % 30); break;
            case 8: std::snprintf(line, sizeof line, "ZORVE_LIFT(%d);\n", in.number()); break;
            case 9: std::snprintf(line, sizeof line, "ZORVE_TEXT(\"%s\");\n", in.text(20).c_str()); break;
            case 1: std::snprintf(line, sizeof line, "ZORVE_KBD(%d);\n", in.byte()); break;
            case 2: std::snprintf(line, sizeof line, "ZORVE_PERIODIC(%d);\r\n", in.byte() % 20); break;
            default: std::snprintf(line, sizeof line, "\n"); break;
        }
        s += line;
    }
    return s;
}

void step(Input& in) {
    const int c = static_cast<int>(in.number());
    const int call = in.byte() % 26;
    if (call <= 9) canvas_drawn = true;
    switch (call) {
        case 0: ZORVE_draw_pixel(c, in.number(), in.number()); break;
        case 1: ZORVE_draw_circle(c, in.number(), in.number(), in.number()); break;
        case 2: ZORVE_draw_triangle(c, in.number(), in.number(), in.number(), in.number(), in.number(),
                                    in.number(), in.width()); break;
        case 3: ZORVE_draw_rect(c, in.number(), in.number(), in.number(), in.number(), in.width()); break;
        case 4: ZORVE_draw_oval(c, in.number(), in.number(), in.number(), in.number(), in.width()); break;
        case 5: ZORVE_draw_line(c, in.number(), in.number(), in.number(), in.number(), in.width()); break;
        case 6: ZORVE_draw_text(c, in.number(), in.number(), in.number(), in.text(40).c_str()); break;
        case 7: ZORVE_draw_textf(c, in.number(), in.number(), in.number(), "%s %d", in.text(20).c_str(), c); break;
        case 8: ZORVE_draw_text(c, 0, 0, 10, nullptr); break;
        case 9: ZORVE_clear(); break;
        case 10: ZORVE_undo(); break;
        case 11: ZORVE_set_logging(c & 1); break;
        case 12: ZORVE_set_animation(in.byte() % 7); break;
        case 13: ZORVE_console_printf("%s", in.text(60).c_str()); break;
        case 14: console_show(c & 1); break;
        case 15: write_file("ZORVE.SCR", script_text(in)); break;
        case 16:
        case 17:
        case 18: {
            idle_calls = 0;
            EventRecord e;
            ZORVE_wait_event(in.byte() & 1 ? &e : nullptr);
            break;
        }
        case 19: {
            idle_calls = 0;
            char answer[256];
            ZORVE_gets(in.text(90).c_str(), answer);
            break;
        }
        case 20: ZORVE_stop(); break;
        case 22: {
            idle_calls = 0;
            ZorveInput got;
            ZORVE_wait_input(in.byte() & 1 ? &got : nullptr);
            break;
        }
        case 23: ZORVE_set_input(c); break;
        case 24: ZORVE_set_tick_ms(c); break;
        case 25: ZORVE_text_width(c, in.byte() & 7 ? in.text(30).c_str() : nullptr); break;
        default: start(); break;
    }
}

// ZORVE_FUZZ_FRESH=1 starts every input afresh, as a new process would: the yardstick
// that bench/fuzz_rate.sh measures reuse against.
const bool fresh_each_input = [] {
    const char* v = std::getenv("ZORVE_FUZZ_FRESH");
    return v && std::strcmp(v, "1") == 0;
}();

// GDI objects with nothing started, and right after a start: every input must end
// with what a start holds, and a full reset must bring back what nothing holds.
int objects_idle = -1;
int objects_started = -1;

void check_objects(int expected, const char* when) {
    if (zp::live_objects_total() == expected) return;
    std::fprintf(stderr, "GDI objects %s: %d, expected %d\n", when, zp::live_objects_total(), expected);
    std::abort();
}

// Closes everything and starts afresh, as a new process would.
void full_start() {
    runtime_reset();
    if (objects_idle < 0) objects_idle = zp::live_objects_total();
    check_objects(objects_idle, "with nothing started");
    start();
    canvas_drawn = false;
    if (objects_started < 0) objects_started = zp::live_objects_total();
    check_objects(objects_started, "after a start");
}

// Scripts and pictures of the last input go: each input starts with an empty folder.
void empty_folder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(".", ignored))
        std::filesystem::remove_all(entry.path(), ignored);
}

// Whether the windows of the last input can be reused: both there, enabled, nothing
// else open (a dialog left by a run that got stuck in it), and no stop since.
bool reusable() {
    const zorve_test::Snapshot s = zorve_test::snapshot();
    return s.graphics_window && !s.stopped && IsWindow(s.graphics_window) && IsWindow(s.console_window) &&
           IsWindowEnabled(s.graphics_window) && zp::top_level_windows().size() == 2;
}

// Returns a started runtime to the state a fresh start leaves it in, keeping its
// windows and canvas: what the runtime keeps (flags, the console's lines, the script
// file, the menu's check marks), the canvas's pixels, the queue, focus, timer and paint.
void restart_in_place() {
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
        if (msg.message == WM_QUIT) continue;
        if (msg.message == WM_PAINT) {
            // Both windows are invalidated again below: painting now would be lost work.
            PAINTSTRUCT paint;
            BeginPaint(msg.hwnd, &paint);
            EndPaint(msg.hwnd, &paint);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (!reusable()) return;
    }
    zorve_test::restart_in_place(canvas_drawn);
    canvas_drawn = false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        // Scripts are written and read in a folder of the process's own.
        char folder[] = "/tmp/zorve-api-fuzz-XXXXXX";
        if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
        hl::set_screen_size(1024, 768);
        full_start();
        return true;
    }();
    (void)ready;
    Input in{data, size};
    input = &in;
    clock_start = hl::now_ms();
    ZORVE_set_logging(in.byte() & 1);
    hl::set_idle_hook(person_acts);
    try {
        for (int i = 0; i < MAX_STEPS && !in.done(); ++i) {
            step(in);
            // A stop and a start in between hold what one start holds.
            const zorve_test::Snapshot s = zorve_test::snapshot();
            if (s.graphics_window && !s.stopped && zp::live_objects_total() != objects_started) {
                std::fprintf(stderr, "GDI objects after step %d: %d, running with %d\n", i,
                             zp::live_objects_total(), objects_started);
                std::abort();
            }
        }
    } catch (const hl::Stuck&) {
        // The program waited with its windows closed and nothing left to come: the end.
    }
    hl::set_idle_hook(nullptr);
    empty_folder();
    // What this input allocated is freed before it ends, as the leak check expects.
    if (reusable() && !fresh_each_input) restart_in_place();
    if (reusable() && !fresh_each_input)
        check_objects(objects_started, "after the run");
    else
        full_start();
    return 0;
}
