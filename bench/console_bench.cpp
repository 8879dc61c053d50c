// Console lines, each scrolling the whole 1920-pixel-wide console window by one line and
// drawing its text, and a designer-sized frame with logging on.
#include <benchmark/benchmark.h>

#include "bench_runtime.h"

namespace {

void BM_ConsoleLine(benchmark::State& state) {
    bench_start();
    RECT client;
    GetClientRect(runtime.console_window, &client);
    int i = 0;
    for (auto _ : state) {
        ZORVE_console_printf("red pixel at (%d,%d)\n", i % 600 - 300, i % 500);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["console_width"] = client.right;
}
BENCHMARK(BM_ConsoleLine);

// About a thousand logged drawing calls, as one outlined face on a designer frame makes.
void BM_ThousandLoggedPixels(benchmark::State& state) {
    bench_start();
    runtime.logging_flag = 1;
    for (auto _ : state)
        for (int i = 0; i < 1000; ++i) ZORVE_draw_pixel(ZORVE_RED, i % 60, i / 60);
    runtime.logging_flag = 0;
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ThousandLoggedPixels)->Unit(benchmark::kMillisecond);

}  // namespace
