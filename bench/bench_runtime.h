// The runtime as programs start it, for benchmarks: both windows on a 1920 x 1080
// headless screen, the console hidden, logging off, the canvas cleared.
#ifndef ZORVE_BENCH_RUNTIME_H
#define ZORVE_BENCH_RUNTIME_H

#include "platform/display/headless.h"
#include "runtime/runtime.h"

inline void bench_start() {
    if (!runtime.graphics_window) {
        zp::headless::set_screen_size(1920, 1080);
        static char command_line[] = "";
        ZORVE_start(nullptr, nullptr, command_line, SW_SHOWNORMAL);
        console_show(0);
    }
    ZORVE_set_logging(0);
    console_show(0);
    ZORVE_clear();
}

#endif
