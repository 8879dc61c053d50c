// Shared set-up for tests of the drawing core: a canvas and a console that tests can read.
#ifndef ZORVE_TESTS_RUNTIME_FIXTURE_H
#define ZORVE_TESTS_RUNTIME_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/test_hooks.h"
#ifndef _WIN32
#include "platform/display/headless.h"
#endif

namespace zt = zorve_test;

namespace fixture {

inline std::vector<std::string>& console_lines() {
    static std::vector<std::string> lines;
    return lines;
}

inline void record_line(const char* line) { console_lines().emplace_back(line); }

// A fresh runtime, started as programs start it, with the console hidden.
inline void start_runtime() {
    runtime_reset();
#ifdef _WIN32
    void* instance = GetModuleHandleA(nullptr);
#else
    void* instance = nullptr;
#endif
    static char command_line[] = "";
    ZORVE_start(instance, nullptr, command_line, SW_SHOWNORMAL);
    console_show(0);
}

// Takes every message that is already queued, so a test starts from a quiet queue.
inline void drain_messages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A started runtime in its initial state, the canvas cleared, console lines recorded.
inline void start_canvas() {
    start_runtime();
    drain_messages();
    ZORVE_set_logging(0);
    zt::set_console_tap(record_line);
    ZORVE_clear();
    console_lines().clear();
}

// Canvas pixel of a runtime point.
inline COLORREF pixel_at(int x, int y) {
    const zt::Snapshot s = zt::snapshot();
    return GetPixel(s.canvas_dc, s.origin_x + x, s.origin_y - y);
}

class Canvas : public ::testing::Test {
protected:
    void SetUp() override { start_canvas(); }
    void TearDown() override {
        zt::set_logging_quietly(false);
        zt::set_console_tap(nullptr);
    }
    static std::vector<std::string>& lines() { return console_lines(); }
};

// A canvas on which time passes while the program sleeps: real time on Windows, the
// headless presenter's virtual clock elsewhere, so timers fire in either.
class TimedCanvas : public Canvas {
protected:
    void SetUp() override {
        Canvas::SetUp();
#ifndef _WIN32
        zp::headless::set_idle_hook([] { zp::headless::advance_clock(10); });
#endif
    }
    void TearDown() override {
#ifndef _WIN32
        zp::headless::set_idle_hook(nullptr);
#endif
        Canvas::TearDown();
    }
};

}  // namespace fixture

#endif
