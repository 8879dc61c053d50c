// Pictures for zorve-run: compared pixel by pixel, and the diff image.
#include "picture_compare.h"

#include <vector>

long long differing_pixels(const Picture& expected, const Picture& actual) {
    long long n = 0;
    for (size_t i = 0; i < expected.pixels.size(); ++i) n += expected.pixels[i] != actual.pixels[i];
    return n;
}

bool write_diff(const Picture& expected, const Picture& actual, const std::string& path, std::string* why) {
    std::vector<uint32_t> diff(expected.pixels.size());
    for (size_t i = 0; i < diff.size(); ++i) {
        const uint32_t e = expected.pixels[i];
        if (e != actual.pixels[i]) {
            diff[i] = 0xFF0000;
            continue;
        }
        uint32_t faded = 0;
        for (int shift = 0; shift <= 16; shift += 8) faded |= (191 + ((e >> shift) & 0xFF) / 4) << shift;
        diff[i] = faded;
    }
    return codec::png_write_file(path.c_str(), diff.data(), expected.width, expected.height, expected.width, why);
}
