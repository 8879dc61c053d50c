// Throughput of the drawing calls, with a plain fill of the same pixels as yardstick.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench_runtime.h"

namespace {

void BM_DrawPixel(benchmark::State& state) {
    bench_start();
    int i = 0;
    for (auto _ : state) {
        ZORVE_draw_pixel(ZORVE_RED, (i & 255) - 128, ((i >> 8) & 255) - 128);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawPixel);

void BM_FillCanvasRect(benchmark::State& state) {
    bench_start();
    for (auto _ : state) ZORVE_draw_rect(ZORVE_BLUE, -400, 400, 400, -400, 0);
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * int64_t(CANVAS_WIDTH) * CANVAS_HEIGHT * 4);
}
BENCHMARK(BM_FillCanvasRect);

// The yardstick: the same pixels written by std::fill.
void BM_FillCanvasPlain(benchmark::State& state) {
    std::vector<uint32_t> pixels(size_t(CANVAS_WIDTH) * CANVAS_HEIGHT);
    uint32_t value = 0x0000FF;
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), value);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
        value ^= 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * int64_t(CANVAS_WIDTH) * CANVAS_HEIGHT * 4);
}
BENCHMARK(BM_FillCanvasPlain);

void BM_DrawTextf20(benchmark::State& state) {
    bench_start();
    int i = 0;
    for (auto _ : state) ZORVE_draw_textf(ZORVE_BLACK, -200, 0, 20, "Be My Valentine %04d", i++ % 10000);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawTextf20);

}  // namespace
