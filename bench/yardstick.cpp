// Recording what a workload writes, and timing memset writing the same.
#include "yardstick.h"

#include <time.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "platform/gdi/gdi.h"
#include "runtime/runtime.h"

namespace yardstick {
namespace {

// No drawing writes a pixel with its high byte set.
constexpr uint32_t SENTINEL = 0xA5000000u;

zp::Surface& canvas_surface() { return *zp::lookup_dc(runtime.canvas_dc)->surface; }

// The recording state between two logged lines. Pass one learns the bounds of what each
// call changes (the surface's damage); pass two fills those bounds with SENTINEL before
// the call, so that every pixel the call writes, whatever its colour, stands out.
struct Recorder {
    zp::Surface* canvas = nullptr;
    bool second_pass = false;
    size_t call = 0;  // calls started in this pass
    std::vector<RECT> bounds;
    std::vector<uint32_t> saved;
    WriteSet* out = nullptr;

    void finish_call() {
        if (call == 0) return;
        const RECT r = second_pass ? bounds[call - 1] : canvas->take_damage();
        if (!second_pass) {
            bounds.push_back(r);
            return;
        }
        size_t i = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            uint32_t* row = canvas->row(y);
            for (int x = r.left; x < r.right; ++x, ++i) {
                if (row[x] == SENTINEL) {
                    row[x] = saved[i];
                    continue;
                }
                const uint32_t offset = static_cast<uint32_t>(y * canvas->width + x);
                if (!out->runs.empty() && x > r.left &&
                    out->runs.back().offset + out->runs.back().length == offset)
                    ++out->runs.back().length;
                else
                    out->runs.push_back({offset, 1});
                ++out->pixels;
            }
        }
    }

    void start_call() {
        ++call;
        if (!second_pass) return;
        saved.clear();
        const RECT r = call <= bounds.size() ? bounds[call - 1] : RECT{0, 0, 0, 0};
        for (int y = r.top; y < r.bottom; ++y) {
            uint32_t* row = canvas->row(y);
            saved.insert(saved.end(), row + r.left, row + r.right);
            std::fill(row + r.left, row + r.right, SENTINEL);
        }
    }
};

Recorder* recorder = nullptr;

void on_line(const char*) {
    recorder->finish_call();
    recorder->start_call();
}

// Mean seconds of `once`, run for at least 20 ms after a warm-up.
template <class F>
double mean_seconds(F once) {
    once(0);
    int reps = 0;
    const double start = cpu_now();
    double elapsed = 0;
    do {
        once(++reps);
        elapsed = cpu_now() - start;
    } while (elapsed < 0.02 || reps < 3);
    return elapsed / reps;
}

}  // namespace

double cpu_now() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

WriteSet canvas_writes(void (*draw)()) {
    WriteSet writes;
    Recorder r;
    r.canvas = &canvas_surface();
    r.out = &writes;
    recorder = &r;
    // Lines are kept but not shown: the console window stays as it was.
    const HWND console = runtime.console_window;
    runtime.console_window = nullptr;
    const ConsoleTap previous_tap = runtime.console_tap;
    runtime.console_tap = on_line;
    const int previous_logging = runtime.logging_flag;
    runtime.logging_flag = 1;
    for (bool second : {false, true}) {
        r.second_pass = second;
        r.call = 0;
        r.canvas->take_damage();
        std::srand(1);
        draw();
        r.finish_call();
    }
    runtime.logging_flag = previous_logging;
    runtime.console_tap = previous_tap;
    runtime.console_window = console;
    recorder = nullptr;
    return writes;
}

double replay_seconds(const WriteSet& writes) {
    std::vector<uint32_t> buffer(static_cast<size_t>(CANVAS_WIDTH) * CANVAS_HEIGHT);
    return mean_seconds([&](int rep) {
        const int value = 0x40 + (rep & 1);
        for (const Run& run : writes.runs) {
            uint32_t* p = buffer.data() + run.offset;
            // A single pixel is the four-byte store that memset of four bytes becomes.
            if (run.length == 1)
                std::memset(p, value, 4);
            else
                std::memset(p, value, size_t(run.length) * 4);
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    });
}

double memset_seconds(size_t bytes) {
    std::vector<unsigned char> buffer(bytes);
    return mean_seconds([&](int rep) {
        std::memset(buffer.data(), 0x40 + (rep & 1), bytes);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    });
}

double canvas_seconds() { return memset_seconds(size_t(CANVAS_WIDTH) * CANVAS_HEIGHT * 4); }

void report_ratio(benchmark::State& state, const char* name, double loop_seconds, double seconds) {
    const double iterations = static_cast<double>(std::max<int64_t>(1, state.iterations()));
    const double per_iteration = loop_seconds / iterations;
    state.counters[name] = per_iteration / seconds;
}

double run_workload(benchmark::State& state, const workload::Workload& w) {
    workload::start_runtime();
    static std::map<std::string, WriteSet> recorded;
    auto found = recorded.find(w.name);
    if (found == recorded.end()) {
        w.prepare();
        found = recorded.emplace(w.name, canvas_writes(w.draw)).first;
    }
    w.prepare();
    const double start = cpu_now();
    for (auto _ : state) {
        w.draw();
        benchmark::ClobberMemory();
    }
    const double loop = cpu_now() - start;
    state.SetItemsProcessed(state.iterations() * w.calls);
    state.SetBytesProcessed(state.iterations() * found->second.pixels * 4);
    report_ratio(state, "x_memset", loop, replay_seconds(found->second));
    return loop;
}

}  // namespace yardstick
