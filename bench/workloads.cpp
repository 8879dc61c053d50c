// The workloads: designer frames on an empty, a typical and the costliest card, and
// rounds of one kind of drawing call each.
#include "workloads.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "designer.h"
#include "runtime/runtime.h"
#ifndef _WIN32
#include "platform/display/headless.h"
#endif

namespace workload {

void start_runtime() {
    if (!runtime.graphics_window) {
#ifdef _WIN32
        void* instance = GetModuleHandleA(nullptr);
#else
        void* instance = nullptr;
        zp::headless::set_screen_size(1920, 1080);
#endif
        static char command_line[] = "";
        ZORVE_start(instance, nullptr, command_line, SW_SHOWNORMAL);
        // Console lines stay in the console: what is measured is the console window, not
        // the terminal a run without a display also writes them to.
        runtime.headless_run = false;
    }
    ZORVE_set_logging(0);
    console_show(0);
    ZORVE_clear();
}

namespace {

DesignerState empty_card, typical_card, worst_card;

void prepare_empty() {
    designer_state_init(empty_card);
    table_reset(empty_card.table);
    std::srand(1);
}

// Three hearts, two starbursts, one face of each kind and two messages, the last
// object selected: what a person's card usually holds.
void prepare_typical() {
    DesignerState& d = typical_card;
    designer_state_init(d);
    table_reset(d.table);
    const int kinds[] = {SHAPE_HEART,     SHAPE_HEART,       SHAPE_HEART,
                         SHAPE_STARBURST, SHAPE_STARBURST,   SHAPE_FILLED_FACE,
                         SHAPE_OUTLINED_FACE, SHAPE_BARE_FACE};
    int i = 0;
    for (int kind : kinds) {
        object_add_shape(-100 + 60 * (i % 5), 150 - 90 * (i / 5), d.edit_mode, d.table);
        while (d.table[i].kind != kind) object_next_kind(d.table[i]);
        ++i;
    }
    object_add_message(-120, -100, d.edit_mode, d.table);
    object_add_message(40, -120, d.edit_mode, d.table);
    object_next_kind(d.table[9]);
    std::srand(1);
}

// The costliest card: 99 outlined faces, about 95,000 drawing calls a frame.
void prepare_worst() {
    DesignerState& d = worst_card;
    designer_state_init(d);
    table_reset(d.table);
    for (int i = 0; i < END_SLOT; ++i) {
        object_add_shape(-140 + (i % 11) * 33, -145 + (i / 11) * 38, d.edit_mode, d.table);
        while (d.table[i].kind != SHAPE_OUTLINED_FACE) object_next_kind(d.table[i]);
    }
    std::srand(1);
}

void nothing() {}

// Pixels spread over the whole canvas, none twice in a row.
constexpr int PIXELS = 1000;
void draw_pixels() {
    for (int i = 0; i < PIXELS; ++i)
        ZORVE_draw_pixel(ZORVE_RED, (i * 37) % CANVAS_WIDTH - 300, (i * 53) % CANVAS_HEIGHT - 270);
}

void draw_full_fill() {
    static int n = 0;
    ZORVE_draw_rect(++n % 2 ? ZORVE_BLUE : ZORVE_RED, -400, 400, 400, -400, 0);
}

// A fan of lines from the centre in every direction, each about 260 pixels long.
constexpr int LINES = 64;
int line_ends[LINES][2];
void prepare_lines() {
    for (int i = 0; i < LINES; ++i) {
        const double a = 6.283185307179586 * i / LINES + 0.01;
        line_ends[i][0] = static_cast<int>(260 * std::cos(a));
        line_ends[i][1] = static_cast<int>(260 * std::sin(a));
    }
}
void draw_lines(int width) {
    for (int i = 0; i < LINES; ++i)
        ZORVE_draw_line(i % ZORVE_COLORS, 0, 0, line_ends[i][0], line_ends[i][1], width);
}
void draw_lines_1() { draw_lines(1); }
void draw_lines_5() { draw_lines(5); }

// Filled circles from a few pixels across to most of the canvas.
constexpr int ELLIPSES = 16;
void draw_ellipses() {
    for (int i = 0; i < ELLIPSES; ++i)
        ZORVE_draw_circle(i % ZORVE_COLORS, (i % 4) * 40 - 60, (i / 4) * 30 - 45, 5 + 15 * i);
}

void draw_text() {
    static int n = 0;
    ZORVE_draw_textf(ZORVE_BLACK, -200, 0, 20, "Be My Valentine %04d", n++ % 10000);
}

const Workload WORKLOADS[] = {
    {"empty_frame", prepare_empty, [] { draw_frame(empty_card); }, 1},
    {"typical_frame", prepare_typical, [] { draw_frame(typical_card); }, 1},
    {"worst_frame", prepare_worst, [] { draw_frame(worst_card); }, 1},
    {"pixels", nothing, draw_pixels, PIXELS},
    {"full_fills", nothing, draw_full_fill, 1},
    {"lines_w1", prepare_lines, draw_lines_1, LINES},
    {"lines_w5", prepare_lines, draw_lines_5, LINES},
    {"filled_ellipses", nothing, draw_ellipses, ELLIPSES},
    {"text", nothing, draw_text, 1},
};

}  // namespace

const Workload* all() { return WORKLOADS; }
int count() { return static_cast<int>(sizeof WORKLOADS / sizeof WORKLOADS[0]); }

const Workload* find(const char* name) {
    for (const Workload& w : WORKLOADS)
        if (std::strcmp(w.name, name) == 0) return &w;
    return nullptr;
}

}  // namespace workload
