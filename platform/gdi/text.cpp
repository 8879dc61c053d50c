// Text: fonts, text metrics, measuring and drawing ANSI strings.
//
// Strings are bytes of the ANSI code page; every byte is one character cell, control
// bytes included (they draw and measure as the font's default glyph, as in Win32).
// With the default alignment (TA_TOP | TA_LEFT) a string's cell box starts at (x, y),
// is as wide as its extent and as tall as the font's cell; the baseline runs at
// y + tmAscent.
#include <algorithm>
#include <climits>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster.h"
#include "text.h"

namespace zp {
namespace {

// Coverage-weighted mix of src over dst, per channel, rounded (a = 255 gives src).
inline uint32_t blend(uint32_t dst, uint32_t src, uint32_t a) {
    const uint32_t na = 255 - a;
    uint32_t rb = (src & 0xFF00FFu) * a + (dst & 0xFF00FFu) * na + 0x800080u;
    rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    uint32_t g = (src & 0xFF00u) * a + (dst & 0xFF00u) * na + 0x8000u;
    g = ((g + ((g >> 8) & 0xFF00u)) >> 8) & 0xFF00u;
    return rb | g;
}

const FontFace& face_of(const DC& dc) {
    Font* font = dc_font(dc);
    // A font deleted while selected stays in use until deselected, as in Win32, but
    // the handle table no longer hands it out: draw with the system font meanwhile.
    if (!font) font = lookup_as<Font>(GetStockObject(SYSTEM_FONT), ObjType::Font);
    return font_face(*font);
}

void fill(Surface& s, int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel) {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, s.width);
    bottom = std::min<int64_t>(bottom, s.height);
    if (left >= right || top >= bottom) return;
    s.mark(left, top, right, bottom);
    for (int64_t y = top; y < bottom; ++y)
        raster::fill_pixels(s.row(static_cast<int>(y)) + left, static_cast<size_t>(right - left),
                            pixel);
}

#if defined(__SSE2__)
// Four pixels, one 16-bit lane per channel; the arithmetic is blend()'s.
__attribute__((always_inline)) inline void blend4(uint32_t* out, uint32_t four, __m128i src) {
    const __m128i zero = _mm_setzero_si128(), c255 = _mm_set1_epi16(255),
                  c128 = _mm_set1_epi16(128), c257 = _mm_set1_epi16(257);
    __m128i a = _mm_cvtsi32_si128(static_cast<int>(four));
    a = _mm_unpacklo_epi8(a, a);
    a = _mm_unpacklo_epi16(a, a);  // each coverage byte spread over its pixel
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out));
    __m128i mixed[2];
    for (int half = 0; half < 2; ++half) {
        const __m128i ah = half ? _mm_unpackhi_epi8(a, zero) : _mm_unpacklo_epi8(a, zero);
        const __m128i dh = half ? _mm_unpackhi_epi8(d, zero) : _mm_unpacklo_epi8(d, zero);
        __m128i v = _mm_add_epi16(_mm_mullo_epi16(src, ah),
                                  _mm_mullo_epi16(dh, _mm_sub_epi16(c255, ah)));
        v = _mm_add_epi16(v, c128);
        mixed[half] = _mm_mulhi_epu16(v, c257);  // (v + (v >> 8)) >> 8 for every 16-bit v
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(mixed[0], mixed[1]));
}
#endif

// Blends n pixels of one glyph row, from pixel i on.
__attribute__((always_inline)) inline void blend_row(uint32_t* out, const uint8_t* cov, int i,
                                                     int n, uint32_t color) {
#if defined(__SSE2__)
    const __m128i src =
        _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), _mm_setzero_si128());
    for (; i + 4 <= n; i += 4) {
        uint32_t four;
        std::memcpy(&four, cov + i, 4);
        if (four) blend4(out + i, four, src);
    }
#endif
    for (; i < n; ++i)
        if (cov[i]) out[i] = blend(out[i], color, cov[i]);
}

// The rows of a glyph image already clipped: n pixels of each, from `cov` and `out` on;
// `room` pixels from `out` to the end of its surface row.
struct GlyphRows {
    uint32_t* out;
    ptrdiff_t out_stride;
    const uint8_t* cov;
    ptrdiff_t cov_stride;
    int n, rows, room;
};

void blend_rows(const GlyphRows& g, uint32_t color) {
    for (int r = 0; r < g.rows; ++r)
        blend_row(g.out + r * g.out_stride, g.cov + r * g.cov_stride, 0, g.n, color);
}

#if defined(__x86_64__) || defined(__i386__)
// Eight pixels at a time with the same arithmetic in 16-bit lanes; fully covered ones,
// the inside of large letters, become the text colour outright, as blend() gives. Most
// glyphs are narrower than eight pixels: where the surface row has room, the last group
// reaches past the glyph into its zero padding, and leaves those pixels as they were
// (a coverage of 0 gives the pixel back exactly).
__attribute__((target("avx2"))) void blend_rows_avx2(const GlyphRows& g, uint32_t color) {
    const __m256i zero = _mm256_setzero_si256(), c255 = _mm256_set1_epi16(255),
                  c128 = _mm256_set1_epi16(128), c257 = _mm256_set1_epi16(257);
    const __m256i solid = _mm256_set1_epi32(static_cast<int>(color));
    const __m256i src = _mm256_unpacklo_epi8(solid, zero);
    // Coverage bytes 0-3 over the pixels of the low half, 4-7 over the high half.
    const __m256i spread = _mm256_setr_epi8(0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3,  //
                                            4, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7);
    for (int r = 0; r < g.rows; ++r) {
        uint32_t* out = g.out + r * g.out_stride;
        const uint8_t* cov = g.cov + r * g.cov_stride;
        const int end = g.n + 8 <= g.room ? g.n + 7 : g.n;  // past g.n only into padding
        int i = 0;
        for (; i + 8 <= end; i += 8) {
            uint64_t eight;
            std::memcpy(&eight, cov + i, 8);
            if (!eight) continue;
            auto* at = reinterpret_cast<__m256i*>(out + i);
            if (eight == ~uint64_t(0)) {
                _mm256_storeu_si256(at, solid);
                continue;
            }
            const __m256i a =
                _mm256_shuffle_epi8(_mm256_set1_epi64x(static_cast<long long>(eight)), spread);
            const __m256i d = _mm256_loadu_si256(at);
            const __m256i a_lo = _mm256_unpacklo_epi8(a, zero);
            const __m256i a_hi = _mm256_unpackhi_epi8(a, zero);
            __m256i lo = _mm256_add_epi16(_mm256_mullo_epi16(src, a_lo),
                                          _mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero),
                                                             _mm256_sub_epi16(c255, a_lo)));
            __m256i hi = _mm256_add_epi16(_mm256_mullo_epi16(src, a_hi),
                                          _mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero),
                                                             _mm256_sub_epi16(c255, a_hi)));
            lo = _mm256_add_epi16(lo, c128);
            hi = _mm256_add_epi16(hi, c128);
            lo = _mm256_mulhi_epu16(lo, c257);
            hi = _mm256_mulhi_epu16(hi, c257);
            _mm256_storeu_si256(at, _mm256_packus_epi16(lo, hi));
        }
        if (i < g.n) blend_row(out, cov, i, g.n, color);
    }
}
#endif

void draw_glyph(Surface& s, int64_t x, int64_t y, const GlyphImage& g, uint32_t color) {
    const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
    const int64_t x1 = std::min<int64_t>(x + g.width, s.width);
    const int64_t y1 = std::min<int64_t>(y + g.rows, s.height);
    if (x0 >= x1 || y0 >= y1) return;
    const GlyphRows rows = {s.row(static_cast<int>(y0)) + x0, s.stride,
                            g.coverage + (y0 - y) * g.pitch + (x0 - x), g.pitch,
                            static_cast<int>(x1 - x0), static_cast<int>(y1 - y0),
                            static_cast<int>(s.width - x0)};
#if defined(__x86_64__) || defined(__i386__)
    if (raster::HAVE_AVX2) {
        blend_rows_avx2(rows, color);
        return;
    }
#endif
    blend_rows(rows, color);
}

}  // namespace
}  // namespace zp

using namespace zp;

extern "C" {

HFONT WINAPI CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD, DWORD,
                         DWORD, DWORD, DWORD, DWORD, DWORD pitch_and_family, LPCSTR face) {
    // Resolution waits for the first text call: a font is often created and deleted
    // around a single drawing, and that must stay cheap.
    Font* f = new_object<Font>();
    if (!f) return nullptr;
    f->height = height;
    f->weight = std::clamp(weight, 0, 1000);
    f->italic = italic != 0;
    f->fixed_pitch = (pitch_and_family & 0x03) == FIXED_PITCH;
    if (face) std::strncpy(f->face_name, face, LF_FACESIZE - 1);
    return static_cast<HFONT>(f->handle);
}

BOOL WINAPI GetTextMetricsA(HDC handle, LPTEXTMETRICA metrics) {
    DC* dc = lookup_dc(handle);
    if (!dc || !metrics) return FALSE;
    *metrics = face_of(*dc).metrics;
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC handle, LPCSTR text, int count, LPSIZE size) {
    DC* dc = lookup_dc(handle);
    if (!dc || !size || count < 0 || (count > 0 && !text)) return FALSE;
    if (count == 0) {  // Win32 reports an empty string as 0 x 0
        size->cx = size->cy = 0;
        return TRUE;
    }
    const FontFace& face = face_of(*dc);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int64_t width = 0;
    for (int i = 0; i < count; ++i) width += face.advance[bytes[i]];
    size->cx = static_cast<LONG>(std::min<int64_t>(width, INT32_MAX));
    size->cy = face.metrics.tmHeight;
    return TRUE;
}

BOOL WINAPI TextOutA(HDC handle, int x, int y, LPCSTR text, int count) {
    DC* dc = lookup_dc(handle);
    if (!dc || count < 0 || (count > 0 && !text)) return FALSE;
    if (count == 0) return TRUE;
    const FontFace& face = face_of(*dc);
    if (!face.usable) return FALSE;
    Surface& s = *dc->surface;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const TEXTMETRICA& tm = face.metrics;
    const int64_t top = y, bottom = top + tm.tmHeight, baseline = top + tm.tmAscent;

    // Characters that start past the right edge cannot reach the surface, so neither
    // loop needs to walk further than that, however long the string.
    if (dc->bk_mode == OPAQUE) {
        int64_t right = x;
        for (int i = 0; i < count && right < s.width; ++i) right += face.advance[bytes[i]];
        fill(s, x, top, right, bottom, pixel_from_colorref(dc->bk_color));
    }
    const int64_t margin = face.max_overhang;
    if (top - margin >= s.height || bottom + margin <= 0) return TRUE;
    const uint32_t color = pixel_from_colorref(dc->text_color);
    int64_t pen = x;
    for (int i = 0; i < count && pen - margin < s.width; ++i) {
        const unsigned char c = bytes[i];
        if (pen + face.advance[c] + margin > 0) {
            const GlyphImage g = glyph_image(face, c);
            if (g.coverage) draw_glyph(s, pen + g.left, baseline - g.top, g, color);
        }
        pen += face.advance[c];
    }
    // Glyph images reach at most `margin` beyond the cells they are drawn from.
    s.mark(x - margin, top - margin, pen + margin, bottom + margin);
    return TRUE;
}

}  // extern "C"
