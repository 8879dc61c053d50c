// The runtime as programs start it, for benchmarks: both windows on a 1920 x 1080
// headless screen, the console hidden, logging off, the canvas cleared.
#ifndef ZORVE_BENCH_RUNTIME_H
#define ZORVE_BENCH_RUNTIME_H

#include "runtime/runtime.h"
#include "workloads.h"

inline void bench_start() { workload::start_runtime(); }

#endif
