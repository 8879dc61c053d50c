// Filling runs of pixels: the store every filled shape ends in. memset cannot repeat a
// 32-bit pattern, and std::fill stays at SSE2's width; 32-byte stores, with overlapping
// ones at the ends instead of a loop of single pixels, are faster than memset of the
// same bytes (measured: bench/fill_bench.cpp; 64-byte stores gained nothing more).
// A rectangle as wide as its surface is one run of all its rows.
#include <algorithm>

#include "raster.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define ZORVE_X86 1
#endif

namespace zp::raster {

#if ZORVE_X86

namespace {

// Long runs (a whole block of rows) are left to the processor's string store, which
// beats vector stores from about 8 KB on; shorter ones would pay for its start-up.
constexpr size_t STRING_STORE_MIN = 4096;

bool string_store_fast() {
    unsigned a, b, c, d;
    // Enhanced REP MOVSB/STOSB: CPUID leaf 7, EBX bit 9.
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & (1u << 9));
}
const bool STRING_STORE = string_store_fast();

inline void fill_string(uint32_t* p, size_t n, uint32_t v) {
    asm volatile("rep stosl" : "+D"(p), "+c"(n) : "a"(v) : "memory");
}

}  // namespace

// Short runs in a few overlapping stores; long ones with one unaligned store at each
// end and aligned ones between.
__attribute__((target("avx2"))) void fill_pixels_avx2(uint32_t* p, size_t n, uint32_t v) {
    if (n >= STRING_STORE_MIN && STRING_STORE) {
        fill_string(p, n, v);
        return;
    }
    const __m256i w = _mm256_set1_epi32(static_cast<int>(v));
    if (n < 8) {
        const __m128i h = _mm256_castsi256_si128(w);
        if (n >= 4) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), h);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + n - 4), h);
            return;
        }
        if (n > 0) p[0] = v;
        if (n > 1) p[1] = v;
        if (n > 2) p[2] = v;
        return;
    }
    uint32_t* const end = p + n;
    if (n <= 32) {
        // Up to four stores, overlapping in the middle, and no loop.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), w);
        if (n > 16) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 8), w);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 16), w);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 8), w);
        return;
    }
    // Runs of one length take the same number of steps wherever they start, which keeps
    // the loop's exit predictable.
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), w);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i + 8), w);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i + 16), w);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i + 24), w);
    }
    for (; i + 8 <= n; i += 8) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), w);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 8), w);
}

// The same with SSE2, which every x86-64 processor has.
void fill_pixels_sse2(uint32_t* p, size_t n, uint32_t v) {
    if (n >= STRING_STORE_MIN && STRING_STORE) {
        fill_string(p, n, v);
        return;
    }
    const __m128i w = _mm_set1_epi32(static_cast<int>(v));
    if (n < 4) {
        if (n > 0) p[0] = v;
        if (n > 1) p[1] = v;
        if (n > 2) p[2] = v;
        return;
    }
    uint32_t* const end = p + n;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), w);
    auto* q = reinterpret_cast<__m128i*>((reinterpret_cast<uintptr_t>(p) + 16) & ~uintptr_t(15));
    auto* const last = reinterpret_cast<__m128i*>(end - 4);
    for (; q < last; ++q) _mm_store_si128(q, w);
    _mm_storeu_si128(last, w);
}

const bool HAVE_AVX2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();

#else

void fill_pixels(uint32_t* p, size_t n, uint32_t v) { std::fill(p, p + n, v); }

#endif

}  // namespace zp::raster
