// Cards full of one kind of object, drawn through the real drawing calls onto the
// canvas with logging off, without the rest of the frame around them.
// x_memset: time over memset writing what the card's objects write.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench_runtime.h"
#include "card.h"
#include "shapes.h"
#include "yardstick.h"

namespace {

ObjectTable faces, hearts_and_starbursts;

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
constexpr int OUTLINED_FACE_CALLS = 377 + 390 + 2 + 95 + 100;

void BM_CardOfOutlinedFaces(benchmark::State& state) {
    const workload::Workload w = {"card_of_outlined_faces",
                                  [] { fill_card(faces, SHAPE_OUTLINED_FACE); },
                                  [] { draw_objects(ZORVE_TURQUOISE, MODE_ADD_SHAPE, faces); },
                                  END_SLOT * OUTLINED_FACE_CALLS};
    yardstick::run_workload(state, w);
}
BENCHMARK(BM_CardOfOutlinedFaces)->Unit(benchmark::kMicrosecond);

// The cheaper shapes with their pseudo-random draws: hearts and starbursts.
void BM_CardOfHeartsAndStarbursts(benchmark::State& state) {
    const workload::Workload w = {"card_of_hearts_and_starbursts",
                                  [] {
                                      fill_card(hearts_and_starbursts, SHAPE_HEART);
                                      for (int i = 1; i < END_SLOT; i += 2)
                                          object_next_kind(hearts_and_starbursts[i]);
                                      std::srand(1);
                                  },
                                  [] { draw_objects(ZORVE_TURQUOISE, 0, hearts_and_starbursts); },
                                  END_SLOT};
    yardstick::run_workload(state, w);
}
BENCHMARK(BM_CardOfHeartsAndStarbursts)->Unit(benchmark::kMicrosecond);

}  // namespace
