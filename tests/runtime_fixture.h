// Shared set-up for tests of the drawing core: a canvas and a console that tests can read.
#ifndef ZORVE_TESTS_RUNTIME_FIXTURE_H
#define ZORVE_TESTS_RUNTIME_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace fixture {

// Centre of the graphics window's 595 x 496 client area.
constexpr int kOriginX = 297;
constexpr int kOriginY = 248;

inline std::vector<std::string>& console_lines() {
    static std::vector<std::string> lines;
    return lines;
}

inline void record_line(const char* line) { console_lines().emplace_back(line); }

// Creates the canvas once (against the screen until windows exist), places the origin
// where the graphics window puts it, and clears it with logging off.
inline void start_canvas() {
    static bool created = false;
    if (!created) {
        canvas_create(nullptr);
        created = true;
    }
    origin_x = kOriginX;
    origin_y = kOriginY;
    logging_flag = 0;
    console_tap = record_line;
    ZORVE_clear();
    console_lines().clear();
}

// Canvas pixel of a runtime point.
inline COLORREF pixel_at(int x, int y) { return GetPixel(canvas_dc, origin_x + x, origin_y - y); }

class Canvas : public ::testing::Test {
protected:
    void SetUp() override { start_canvas(); }
    void TearDown() override {
        logging_flag = 0;
        console_tap = nullptr;
    }
    static std::vector<std::string>& lines() { return console_lines(); }
};

}  // namespace fixture

#endif
