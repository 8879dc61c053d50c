// Times the workloads without any benchmark library, so that the same program builds
// natively (on platform/) and for Windows (on the real GDI32, Wine's under Wine).
// Prints one line per workload: its name and the nanoseconds one round takes, the best
// of several batches. bench/wine_compare.sh runs both builds and divides.
//
//   gdi_compare [workload ...]   (all workloads when none is named)
#include <chrono>
#include <cstdio>
#include <cstring>

#include "workloads.h"

namespace {

constexpr double BATCH_SECONDS = 0.05;
constexpr int BATCHES = 7;

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Nanoseconds per round: the fastest batch, as the others were slowed by whatever else
// the machine was doing.
double time_workload(const workload::Workload& w) {
    w.prepare();
    for (int i = 0; i < 3; ++i) w.draw();  // warm caches, fonts and glyphs
    double best = 1e300;
    for (int b = 0; b < BATCHES; ++b) {
        long rounds = 0;
        const double start = now();
        double elapsed;
        do {
            w.draw();
            ++rounds;
            elapsed = now() - start;
        } while (elapsed < BATCH_SECONDS);
        if (elapsed / rounds < best) best = elapsed / rounds;
    }
    return best * 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    workload::start_runtime();
    for (int i = 0; i < workload::count(); ++i) {
        const workload::Workload& w = workload::all()[i];
        bool wanted = argc < 2;
        for (int a = 1; a < argc; ++a) wanted = wanted || std::strcmp(argv[a], w.name) == 0;
        if (!wanted) continue;
        workload::start_runtime();
        std::printf("%s %.1f\n", w.name, time_workload(w));
        std::fflush(stdout);
    }
    return 0;
}
