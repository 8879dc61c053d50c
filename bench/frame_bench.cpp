// Whole designer frames, drawn through the real drawing calls onto the canvas: what the
// main loop pays before every wait. With logging off, an empty card, a typical card of
// ten mixed objects and the costliest card, 99 outlined faces; with logging on, a card
// of one outlined face, whose thousand log lines each scroll the console window.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench_runtime.h"
#include "designer.h"

namespace {

void run_frames(benchmark::State& state, DesignerState& designer) {
    bench_start();
    std::srand(1);
    for (auto _ : state) {
        draw_frame(designer);
        benchmark::DoNotOptimize(runtime.canvas_dirty);
    }
}

void BM_FrameEmptyCard(benchmark::State& state) {
    static DesignerState designer;
    designer_state_init(designer);
    table_reset(designer.table);
    run_frames(state, designer);
}
BENCHMARK(BM_FrameEmptyCard)->Unit(benchmark::kMicrosecond);

// Three hearts, two starbursts, one face of each kind and two messages, the last
// object selected: what a person's card usually holds.
void BM_FrameTypicalCard(benchmark::State& state) {
    static DesignerState designer;
    designer_state_init(designer);
    table_reset(designer.table);
    const int kinds[] = {SHAPE_HEART,       SHAPE_HEART,         SHAPE_HEART,    SHAPE_STARBURST,
                         SHAPE_STARBURST,   SHAPE_FILLED_FACE,   SHAPE_OUTLINED_FACE,
                         SHAPE_BARE_FACE};
    int i = 0;
    for (int kind : kinds) {
        object_add_shape(-100 + 60 * (i % 5), 150 - 90 * (i / 5), designer.edit_mode, designer.table);
        while (designer.table[i].kind != kind) object_next_kind(designer.table[i]);
        ++i;
    }
    object_add_message(-120, -100, designer.edit_mode, designer.table);
    object_add_message(40, -120, designer.edit_mode, designer.table);
    object_next_kind(designer.table[9]);
    run_frames(state, designer);
}
BENCHMARK(BM_FrameTypicalCard)->Unit(benchmark::kMicrosecond);

void BM_FrameWorstCard(benchmark::State& state) {
    static DesignerState designer;
    designer_state_init(designer);
    table_reset(designer.table);
    for (int i = 0; i < END_SLOT; ++i) {
        object_add_shape(-140 + (i % 11) * 33, -145 + (i / 11) * 38, designer.edit_mode, designer.table);
        while (designer.table[i].kind != SHAPE_OUTLINED_FACE) object_next_kind(designer.table[i]);
    }
    run_frames(state, designer);
}
BENCHMARK(BM_FrameWorstCard)->Unit(benchmark::kMillisecond);

void BM_FrameOneOutlinedFaceLogged(benchmark::State& state) {
    static DesignerState designer;
    designer_state_init(designer);
    table_reset(designer.table);
    object_add_shape(0, 0, designer.edit_mode, designer.table);
    while (designer.table[0].kind != SHAPE_OUTLINED_FACE) object_next_kind(designer.table[0]);
    bench_start();
    ZORVE_set_logging(1);  // shows the 1920-pixel-wide console, as the program does
    std::srand(1);
    for (auto _ : state) draw_frame(designer);
    ZORVE_set_logging(0);
    console_show(0);
}
BENCHMARK(BM_FrameOneOutlinedFaceLogged)->Unit(benchmark::kMillisecond);

}  // namespace
