// Ways to fill a run of 32-bit pixels, over every row of a canvas-sized buffer: the
// candidates for the rasterizer's span fill, beside memset (which can only repeat a
// byte) as the yardstick. Each is run for whole rows and for short runs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "runtime/runtime.h"
#include "platform/gdi/raster.h"
#include "yardstick.h"

namespace {

using Fill = void (*)(uint32_t*, size_t, uint32_t);

void fill_std(uint32_t* p, size_t n, uint32_t v) { std::fill(p, p + n, v); }

void fill_memset(uint32_t* p, size_t n, uint32_t v) { std::memset(p, int(v & 0xFF), n * 4); }

#if defined(__x86_64__)
void fill_rep_stosd(uint32_t* p, size_t n, uint32_t v) {
    asm volatile("rep stosl" : "+D"(p), "+c"(n) : "a"(v) : "memory");
}

__attribute__((target("avx2"))) void fill_avx2(uint32_t* p, size_t n, uint32_t v) {
    const __m256i w = _mm256_set1_epi32(int(v));
    size_t i = 0;
    for (; i + 8 <= n; i += 8) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), w);
    for (; i < n; ++i) p[i] = v;
}

__attribute__((target("avx512f"))) void fill_avx512(uint32_t* p, size_t n, uint32_t v) {
    const __m512i w = _mm512_set1_epi32(int(v));
    size_t i = 0;
    for (; i + 16 <= n; i += 16) _mm512_storeu_si512(p + i, w);
    if (i < n) _mm512_mask_storeu_epi32(p + i, __mmask16((1u << (n - i)) - 1), w);
}
#endif

void fill_platform(uint32_t* p, size_t n, uint32_t v) { zp::raster::fill_pixels(p, n, v); }

// Runs of `length` pixels, one per row, `gap` pixels apart along the row.
void run_fill(benchmark::State& state, Fill fill, int length) {
    const size_t width = CANVAS_WIDTH, height = CANVAS_HEIGHT;
    std::vector<uint32_t> buffer(width * height);
    uint32_t value = 0x00FF00FF;
    auto once = [&] {
        for (size_t y = 0; y < height; ++y)
            for (size_t x = 0; x + length <= width; x += length + 3)
                fill(buffer.data() + y * width + x + (y % 4),
                     std::min<size_t>(length, width - x - (y % 4)), value);
        benchmark::ClobberMemory();
    };
    const double start = yardstick::cpu_now();
    for (auto _ : state) {
        once();
        value ^= 0x00010101;
    }
    const double loop = yardstick::cpu_now() - start;
    // The yardstick writes the same runs with memset.
    yardstick::WriteSet runs;
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x + length <= width; x += length + 3) {
            const size_t n = std::min<size_t>(length, width - x - (y % 4));
            runs.runs.push_back({uint32_t(y * width + x + (y % 4)), uint32_t(n)});
            runs.pixels += int64_t(n);
        }
    state.SetBytesProcessed(state.iterations() * runs.pixels * 4);
    yardstick::report_ratio(state, "x_memset", loop, yardstick::replay_seconds(runs));
}

#define FILL_BENCH(name, fn)                                                      \
    void name(benchmark::State& state) { run_fill(state, fn, int(state.range(0))); } \
    BENCHMARK(name)->Arg(597)->Arg(40)->Arg(7)->Unit(benchmark::kMicrosecond)

FILL_BENCH(BM_FillStd, fill_std);
FILL_BENCH(BM_FillMemsetBytes, fill_memset);
#if defined(__x86_64__)
FILL_BENCH(BM_FillRepStosd, fill_rep_stosd);
FILL_BENCH(BM_FillAvx2, fill_avx2);
FILL_BENCH(BM_FillAvx512, fill_avx512);
#endif
FILL_BENCH(BM_FillPlatform, fill_platform);

}  // namespace
