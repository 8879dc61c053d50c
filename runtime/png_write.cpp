// PNG files of 0x00RRGGBB pixels: 8-bit RGB, each row filtered the way that suits it
// best, compressed with deflate (fixed Huffman codes, LZ77 matches found through hash
// chains). Self-contained, so that pictures are written the same on every host.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime.h"

namespace {

// ---- checksums -----------------------------------------------------------------------

uint32_t crc32_of(const uint8_t* data, size_t n, uint32_t crc = 0) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t adler32_of(const uint8_t* data, size_t n) {
    uint32_t a = 1, b = 0;
    while (n > 0) {
        const size_t chunk = n < 5552 ? n : 5552;  // the most that cannot overflow b
        for (size_t i = 0; i < chunk; ++i) {
            a += data[i];
            b += a;
        }
        a %= 65521;
        b %= 65521;
        data += chunk;
        n -= chunk;
    }
    return b << 16 | a;
}

// ---- deflate with the fixed Huffman codes ----------------------------------------------

struct BitWriter {
    std::vector<uint8_t> bytes;
    uint32_t pending = 0;
    int count = 0;
};

void put_bits(BitWriter& w, uint32_t value, int n) {  // least significant bit first
    w.pending |= value << w.count;
    w.count += n;
    while (w.count >= 8) {
        w.bytes.push_back(static_cast<uint8_t>(w.pending));
        w.pending >>= 8;
        w.count -= 8;
    }
}

// Huffman codes go out most significant bit first.
void put_code(BitWriter& w, uint32_t code, int n) {
    uint32_t reversed = 0;
    for (int i = 0; i < n; ++i) reversed |= ((code >> i) & 1) << (n - 1 - i);
    put_bits(w, reversed, n);
}

void put_literal_or_length(BitWriter& w, int symbol) {
    if (symbol < 144)
        put_code(w, 0x30 + symbol, 8);
    else if (symbol < 256)
        put_code(w, 0x190 + symbol - 144, 9);
    else if (symbol < 280)
        put_code(w, symbol - 256, 7);
    else
        put_code(w, 0xC0 + symbol - 280, 8);
}

constexpr int LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int DISTANCE_BASE[30] = {1,   2,   3,   4,    5,    7,    9,    13,   17,    25,
                                   33,  49,  65,  97,   129,  193,  257,  385,  513,   769,
                                   1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int DISTANCE_EXTRA[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void put_match(BitWriter& w, int length, int distance) {
    int l = 28;
    while (LENGTH_BASE[l] > length) --l;
    put_literal_or_length(w, 257 + l);
    put_bits(w, static_cast<uint32_t>(length - LENGTH_BASE[l]), LENGTH_EXTRA[l]);
    int d = 29;
    while (DISTANCE_BASE[d] > distance) --d;
    put_code(w, static_cast<uint32_t>(d), 5);
    put_bits(w, static_cast<uint32_t>(distance - DISTANCE_BASE[d]), DISTANCE_EXTRA[d]);
}

constexpr int WINDOW = 32768;
constexpr int MIN_MATCH = 3;
constexpr int MAX_MATCH = 258;
constexpr int HASH_BITS = 15;
constexpr int MAX_CHAIN = 48;  // candidates tried per position: speed against size

uint32_t hash3(const uint8_t* p) {
    return ((uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]) * 2654435761u) >> (32 - HASH_BITS);
}

// One final block of fixed codes: pictures of flat colours compress well without
// codes of their own.
std::vector<uint8_t> deflate(const std::vector<uint8_t>& data) {
    BitWriter w;
    put_bits(w, 1, 1);  // the final block
    put_bits(w, 1, 2);  // fixed Huffman codes
    const size_t n = data.size();
    std::vector<int32_t> head(size_t(1) << HASH_BITS, -1);
    std::vector<int32_t> previous(WINDOW, -1);
    auto remember = [&](size_t at) {
        if (at + MIN_MATCH > n) return;
        const uint32_t h = hash3(&data[at]);
        previous[at % WINDOW] = head[h];
        head[h] = static_cast<int32_t>(at);
    };
    size_t i = 0;
    while (i < n) {
        int best_length = 0, best_distance = 0;
        if (i + MIN_MATCH <= n) {
            const size_t most = n - i < size_t(MAX_MATCH) ? n - i : size_t(MAX_MATCH);
            int32_t candidate = head[hash3(&data[i])];
            for (int chain = 0; candidate >= 0 && chain < MAX_CHAIN; ++chain) {
                const size_t c = static_cast<size_t>(candidate);
                if (i - c > size_t(WINDOW - 1)) break;
                size_t length = 0;
                while (length < most && data[c + length] == data[i + length]) ++length;
                if (static_cast<int>(length) > best_length) {
                    best_length = static_cast<int>(length);
                    best_distance = static_cast<int>(i - c);
                    if (length == most) break;
                }
                const int32_t next = previous[c % WINDOW];
                if (next >= candidate) break;  // that slot was reused for a newer position
                candidate = next;
            }
        }
        if (best_length >= MIN_MATCH) {
            put_match(w, best_length, best_distance);
            for (int k = 0; k < best_length; ++k) remember(i + size_t(k));
            i += static_cast<size_t>(best_length);
        } else {
            put_literal_or_length(w, data[i]);
            remember(i);
            ++i;
        }
    }
    put_literal_or_length(w, 256);  // end of block
    if (w.count > 0) put_bits(w, 0, 8 - w.count);
    return w.bytes;
}

// ---- rows and filters --------------------------------------------------------------------

uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Each row as filter type and filtered bytes, the filter chosen by the usual measure:
// the smallest sum of the filtered bytes taken as signed.
std::vector<uint8_t> filtered_rows(const uint32_t* pixels, int width, int height, int stride) {
    const size_t row_bytes = size_t(width) * 3;
    std::vector<uint8_t> out;
    out.reserve((row_bytes + 1) * size_t(height));
    std::vector<uint8_t> above(row_bytes, 0), row(row_bytes), trial(row_bytes), best(row_bytes);
    for (int y = 0; y < height; ++y) {
        const uint32_t* p = pixels + ptrdiff_t(y) * stride;
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3 + 0] = static_cast<uint8_t>(p[x] >> 16);
            row[size_t(x) * 3 + 1] = static_cast<uint8_t>(p[x] >> 8);
            row[size_t(x) * 3 + 2] = static_cast<uint8_t>(p[x]);
        }
        uint64_t best_sum = UINT64_MAX;
        uint8_t best_type = 0;
        for (uint8_t type = 0; type < 5; ++type) {
            uint64_t sum = 0;
            for (size_t i = 0; i < row_bytes; ++i) {
                const int a = i >= 3 ? row[i - 3] : 0, b = above[i], c = i >= 3 ? above[i - 3] : 0;
                uint8_t predicted = 0;
                switch (type) {
                    case 1: predicted = static_cast<uint8_t>(a); break;
                    case 2: predicted = static_cast<uint8_t>(b); break;
                    case 3: predicted = static_cast<uint8_t>((a + b) / 2); break;
                    case 4: predicted = paeth(a, b, c); break;
                    default: break;
                }
                trial[i] = static_cast<uint8_t>(row[i] - predicted);
                sum += static_cast<uint64_t>(std::abs(static_cast<int8_t>(trial[i])));
            }
            if (sum < best_sum) {
                best_sum = sum;
                best_type = type;
                best.swap(trial);
            }
        }
        out.push_back(best_type);
        out.insert(out.end(), best.begin(), best.end());
        above.swap(row);
    }
    return out;
}

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void put_chunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    put_u32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_u32(out, crc32_of(&out[start], out.size() - start));
}

}  // namespace

std::vector<uint8_t> png_encode(const uint32_t* pixels, int width, int height, int stride) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    put_u32(header, static_cast<uint32_t>(width));
    put_u32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, filtered, not interlaced
    put_chunk(png, "IHDR", header);
    const std::vector<uint8_t> rows = filtered_rows(pixels, width, height, stride);
    std::vector<uint8_t> stream = {0x78, 0x01};  // zlib: deflate, 32 KB window
    const std::vector<uint8_t> packed = deflate(rows);
    stream.insert(stream.end(), packed.begin(), packed.end());
    put_u32(stream, adler32_of(rows.data(), rows.size()));
    put_chunk(png, "IDAT", stream);
    put_chunk(png, "IEND", {});
    return png;
}
