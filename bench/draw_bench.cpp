// Rounds of one kind of drawing call through the runtime: scattered pixels, filled
// rectangles over the whole canvas, lines of width 1 and 5, filled circles, text.
// x_memset: time over memset writing what the round writes.
#include <benchmark/benchmark.h>

#include "yardstick.h"

namespace {

void run(benchmark::State& state, const char* name) {
    yardstick::run_workload(state, *workload::find(name));
}

void BM_Pixels(benchmark::State& state) { run(state, "pixels"); }
BENCHMARK(BM_Pixels)->Unit(benchmark::kMicrosecond);

void BM_FullCanvasFill(benchmark::State& state) { run(state, "full_fills"); }
BENCHMARK(BM_FullCanvasFill)->Unit(benchmark::kMicrosecond);

void BM_LinesWidth1(benchmark::State& state) { run(state, "lines_w1"); }
BENCHMARK(BM_LinesWidth1)->Unit(benchmark::kMicrosecond);

void BM_LinesWidth5(benchmark::State& state) { run(state, "lines_w5"); }
BENCHMARK(BM_LinesWidth5)->Unit(benchmark::kMicrosecond);

void BM_FilledEllipses(benchmark::State& state) { run(state, "filled_ellipses"); }
BENCHMARK(BM_FilledEllipses)->Unit(benchmark::kMicrosecond);

void BM_Text20(benchmark::State& state) { run(state, "text"); }
BENCHMARK(BM_Text20)->Unit(benchmark::kMicrosecond);

}  // namespace
