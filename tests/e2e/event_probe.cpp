// A small program on the runtime for the end-to-end tests: it draws a fixed picture
// and prints every event it gets, one line each, so a script driving the real window
// with xdotool can check what arrived.
//
//   event_probe            halted: events only from input
//   event_probe --animate  animation running from the start (for measuring its cost)
#include <cstdio>
#include <cstring>

#include "platform/win32.h"
#include "zorve.h"

namespace {

// Two filled squares whose centres the scripts check on a screenshot: red at (-150, 50)
// and blue at (150, 50) in runtime coordinates. Two colours catch swapped channels.
void draw_fixed() {
    ZORVE_draw_rect(ZORVE_RED, -200, 100, -100, 0, 0);
    ZORVE_draw_rect(ZORVE_BLUE, 100, 100, 200, 0, 0);
}

// A few moving shapes, so that a frame costs what a small animation costs.
void draw_frame(int frame) {
    ZORVE_clear();
    draw_fixed();
    int t = frame % 100;
    ZORVE_draw_circle(ZORVE_GREEN, -250 + 5 * t, -100, 30);
    ZORVE_draw_oval(ZORVE_ORANGE, -40, -150 + t, 40, -200 + t, 0);
    ZORVE_draw_line(ZORVE_PURPLE, -280, -230, -280 + 5 * t, -130, 3);
    ZORVE_draw_triangle(ZORVE_MAGENTA, 200, -200, 260, -200 + t, 230, -140, 0);
}

}  // namespace

int main(int argc, char** argv) {
    const bool animate = argc > 1 && std::strcmp(argv[1], "--animate") == 0;
    ZORVE_start(nullptr, nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
    ZORVE_set_logging(0);
    ZORVE_clear();
    draw_fixed();
    if (animate) ZORVE_set_animation(ANIMATE_RUN);
    std::printf("ready\n");
    std::fflush(stdout);

    int frame = 0;
    for (;;) {
        EventRecord event{};
        switch (ZORVE_wait_event(&event)) {
            case ZORVE_MOUSE:
                std::printf("mouse %d %d\n", event.x, event.y);
                break;
            case ZORVE_KBD:
                std::printf("key %d\n", static_cast<unsigned char>(event.key));
                break;
            case ZORVE_PERIODIC:
                std::printf("periodic\n");
                draw_frame(++frame);
                break;
            case ZORVE_QUIT:
                std::printf("quit\n");
                std::fflush(stdout);
                ZORVE_stop();
                return 0;
            default:
                std::printf("unknown\n");
                break;
        }
        std::fflush(stdout);
    }
}
