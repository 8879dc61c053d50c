// Whole designer frames, drawn through the real drawing calls onto the canvas: what the
// main loop pays before every wait. With logging off, an empty card, a typical card of
// ten mixed objects and the costliest card, 99 outlined faces; with logging on, a card
// of one outlined face (a thousand log lines) and the costliest card (95,000), each with
// the console drawn once afterwards, as the next wait draws it.
//
// x_memset: time over memset writing what the frame writes; x_canvas: time over one
// memset of the whole canvas.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench_runtime.h"
#include "designer.h"
#include "yardstick.h"

namespace {

void run_frame(benchmark::State& state, const char* name) {
    const double loop = yardstick::run_workload(state, *workload::find(name));
    yardstick::report_ratio(state, "x_canvas", loop, yardstick::canvas_seconds());
}

void BM_FrameEmptyCard(benchmark::State& state) { run_frame(state, "empty_frame"); }
BENCHMARK(BM_FrameEmptyCard)->Unit(benchmark::kMicrosecond);

// Three hearts, two starbursts, one face of each kind and two messages.
void BM_FrameTypicalCard(benchmark::State& state) { run_frame(state, "typical_frame"); }
BENCHMARK(BM_FrameTypicalCard)->Unit(benchmark::kMicrosecond);

void BM_FrameWorstCard(benchmark::State& state) { run_frame(state, "worst_frame"); }
BENCHMARK(BM_FrameWorstCard)->Unit(benchmark::kMicrosecond);

// x_memset here: over memset moving the console's client area once per logged line,
// which is what drawing each line as it comes would cost at least.
int logged_lines = 0;

void BM_FrameOneOutlinedFaceLogged(benchmark::State& state) {
    static DesignerState designer;
    designer_state_init(designer);
    table_reset(designer.table);
    object_add_shape(0, 0, designer.edit_mode, designer.table);
    while (designer.table[0].kind != SHAPE_OUTLINED_FACE) object_next_kind(designer.table[0]);
    bench_start();
    ZORVE_set_logging(1);  // shows the 1920-pixel-wide console, as the program does
    std::srand(1);
    logged_lines = 0;
    runtime.console_tap = [](const char*) { ++logged_lines; };
    draw_frame(designer);
    runtime.console_tap = nullptr;
    const double start = yardstick::cpu_now();
    for (auto _ : state) {
        draw_frame(designer);
        console_flush();
    }
    const double loop = yardstick::cpu_now() - start;
    ZORVE_set_logging(0);
    console_show(0);
    RECT client;
    GetClientRect(runtime.console_window, &client);
    const size_t console_bytes = size_t(client.right) * size_t(client.bottom) * 4;
    yardstick::report_ratio(state, "x_memset", loop,
                            logged_lines * yardstick::memset_seconds(console_bytes));
}
BENCHMARK(BM_FrameOneOutlinedFaceLogged)->Unit(benchmark::kMillisecond);

// The costliest card with logging on: every drawing call formats and keeps its line,
// and the console shows the last of them when the program next waits.
void BM_FrameWorstCardLogged(benchmark::State& state) {
    const workload::Workload& worst = *workload::find("worst_frame");
    worst.prepare();
    bench_start();
    ZORVE_set_logging(1);
    std::srand(1);
    const double start = yardstick::cpu_now();
    for (auto _ : state) {
        worst.draw();
        console_flush();
    }
    const double loop = yardstick::cpu_now() - start;
    ZORVE_set_logging(0);
    console_show(0);
    yardstick::report_ratio(state, "x_canvas", loop, yardstick::canvas_seconds());
}
BENCHMARK(BM_FrameWorstCardLogged)->Unit(benchmark::kMillisecond);

}  // namespace
