// The drawing workloads that both the benchmarks and the comparison with Wine's GDI run:
// whole designer frames and single kinds of drawing call, each through the runtime's
// real drawing calls onto its canvas, so the Win32 calls underneath are the same on
// every build.
#ifndef ZORVE_BENCH_WORKLOADS_H
#define ZORVE_BENCH_WORKLOADS_H

namespace workload {

struct Workload {
    const char* name;
    void (*prepare)();  // builds what the drawing needs; outside any timing
    void (*draw)();     // one round of the workload
    int calls;          // drawing calls in one round
};

// The runtime as programs start it: both windows open, the console hidden, logging
// off, the canvas cleared. Starts it once; later calls only reset logging and the
// canvas.
void start_runtime();

// Every workload, in the order reports list them.
const Workload* all();
int count();
const Workload* find(const char* name);

}  // namespace workload

#endif
