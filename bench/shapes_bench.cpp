// Frames of card objects: a full card of the costliest shape, drawn through the real
// drawing calls onto the canvas with logging off. Run next to BM_DrawPixel to compare
// the per-call cost with the plain pixel call.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "card.h"
#include "bench_runtime.h"
#include "shapes.h"

namespace {


// 99 objects of one kind, spread over the card in rows of eleven.
void fill_card(ObjectTable& table, int kind) {
    table_reset(table);
    EditMode mode = MODE_ADD_SHAPE;
    for (int i = 0; i < END_SLOT; ++i) {
        object_add_shape(-140 + (i % 11) * 33, -145 + (i / 11) * 38, mode, table);
        while (table[i].kind != kind) object_next_kind(table[i]);
        table[i].color = i % ZORVE_COLORS;
    }
}

// Drawing calls one outlined face makes: two outline rings, two eyes, a two-ring smile.
constexpr int kOutlinedFaceCalls = 377 + 390 + 2 + 95 + 100;

void BM_CardOfOutlinedFaces(benchmark::State& state) {
    bench_start();
    static ObjectTable table;
    fill_card(table, SHAPE_OUTLINED_FACE);
    for (auto _ : state) draw_objects(ZORVE_TURQUOISE, MODE_ADD_SHAPE, table);
    state.SetItemsProcessed(state.iterations() * END_SLOT * kOutlinedFaceCalls);
    state.counters["calls_per_frame"] = END_SLOT * kOutlinedFaceCalls;
}
BENCHMARK(BM_CardOfOutlinedFaces)->Unit(benchmark::kMillisecond);

// The cheaper shapes with their pseudo-random draws: hearts and starbursts.
void BM_CardOfHeartsAndStarbursts(benchmark::State& state) {
    bench_start();
    static ObjectTable table;
    fill_card(table, SHAPE_HEART);
    for (int i = 1; i < END_SLOT; i += 2) object_next_kind(table[i]);
    std::srand(1);
    for (auto _ : state) draw_objects(ZORVE_TURQUOISE, 0, table);
    state.SetItemsProcessed(state.iterations() * END_SLOT);
}
BENCHMARK(BM_CardOfHeartsAndStarbursts)->Unit(benchmark::kMillisecond);

}  // namespace
