// Console lines as programs print them: formatted and kept, the 1920-pixel-wide console
// window drawn when the program next waits; and a thousand logged pixel calls.
// x_memset: time over memset writing the console's client area once per line, the
// least that drawing each line as it comes, scrolling the window, would cost.
#include <benchmark/benchmark.h>

#include "bench_runtime.h"
#include "yardstick.h"

namespace {

double console_memset_seconds() {
    RECT client;
    GetClientRect(runtime.console_window, &client);
    return yardstick::memset_seconds(size_t(client.right) * size_t(client.bottom) * 4);
}

void BM_ConsoleLine(benchmark::State& state) {
    bench_start();
    RECT client;
    GetClientRect(runtime.console_window, &client);
    int i = 0;
    const double start = yardstick::cpu_now();
    for (auto _ : state) {
        ZORVE_console_printf("red pixel at (%d,%d)\n", i % 600 - 300, i % 500);
        ++i;
    }
    const double loop = yardstick::cpu_now() - start;
    state.SetItemsProcessed(state.iterations());
    state.counters["console_width"] = client.right;
    yardstick::report_ratio(state, "x_memset", loop, console_memset_seconds());
}
BENCHMARK(BM_ConsoleLine);

// About a thousand logged drawing calls, as one outlined face on a designer frame makes.
void BM_ThousandLoggedPixels(benchmark::State& state) {
    bench_start();
    runtime.logging_flag = 1;
    const double start = yardstick::cpu_now();
    for (auto _ : state)
        for (int i = 0; i < 1000; ++i) ZORVE_draw_pixel(ZORVE_RED, i % 60, i / 60);
    const double loop = yardstick::cpu_now() - start;
    runtime.logging_flag = 0;
    state.SetItemsProcessed(state.iterations() * 1000);
    yardstick::report_ratio(state, "x_memset", loop, 1000 * console_memset_seconds());
}
BENCHMARK(BM_ThousandLoggedPixels)->Unit(benchmark::kMillisecond);

}  // namespace
