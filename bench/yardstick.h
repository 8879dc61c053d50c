// Yardsticks: how long memset takes to write the same bytes that a workload writes,
// measured in the same run, so that every figure reads as a ratio that holds across
// machines and across the noise of a busy one.
#ifndef ZORVE_BENCH_YARDSTICK_H
#define ZORVE_BENCH_YARDSTICK_H

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "workloads.h"

namespace yardstick {

// The canvas pixels one round of drawing writes, drawing call by drawing call, as runs
// of neighbouring pixels in one row. A pixel written twice by one call counts once; a
// pixel written by two calls counts twice, as both calls pay for it.
struct Run {
    uint32_t offset;  // of the first pixel, from the canvas's first
    uint32_t length;
};
struct WriteSet {
    std::vector<Run> runs;
    int64_t pixels = 0;
};

// What one round of `draw` writes. The calls are told apart by the line each one logs,
// so the drawing runs exactly as it does unlogged; recording draws the round twice.
WriteSet canvas_writes(void (*draw)());

// Mean seconds (of CPU time) for memset to write the runs, in order, on a buffer the
// size of the canvas: each run one memset, as a drawing call would issue it.
double replay_seconds(const WriteSet& writes);
// Mean seconds for one memset of `bytes`.
double memset_seconds(size_t bytes);
double canvas_seconds();

// Seconds of CPU time this thread has used; benchmarks take it around their loop to
// report ratios.
double cpu_now();

// Adds a counter `name` showing the time per iteration of a loop that took `loop_seconds`
// over `seconds`.
void report_ratio(benchmark::State& state, const char* name, double loop_seconds, double seconds);

// Runs a workload as a benchmark: its time per round, reported over memset writing
// what one round writes (x_memset), with the writes recorded once per process.
// Returns the CPU seconds the timed loop took.
double run_workload(benchmark::State& state, const workload::Workload& w);

}  // namespace yardstick

#endif
