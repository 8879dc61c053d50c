// Compares two PNG files pixel by pixel, decoded, so that two encodings of one picture
// are equal. On a difference it writes a diff image: the expected picture faded, with
// every differing pixel in full red.
//
//   png_diff EXPECTED ACTUAL DIFF     exit 0: same pixels, 1: they differ, 2: cannot read
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "codec/png_codec.h"

namespace {

bool read_picture(const char* path, codec::Picture* picture) {
    std::string why;
    if (codec::png_read_file(path, picture, &why)) return true;
    std::fprintf(stderr, "png_diff: cannot read %s: %s\n", path, why.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: png_diff EXPECTED ACTUAL DIFF\n");
        return 2;
    }
    codec::Picture expected, actual;
    if (!read_picture(argv[1], &expected) || !read_picture(argv[2], &actual)) return 2;
    const int width = expected.width, height = expected.height;
    if (actual.width != width || actual.height != height) {
        std::printf("size differs: expected %dx%d, got %dx%d\n", width, height, actual.width, actual.height);
        return 1;
    }
    std::vector<uint32_t> diff(expected.pixels.size());
    long differing = 0;
    for (size_t i = 0; i < diff.size(); ++i) {
        const uint32_t e = expected.pixels[i];
        if (e == actual.pixels[i]) {
            uint32_t faded = 0;
            for (int shift = 0; shift <= 16; shift += 8) faded |= (191 + (e >> shift & 0xFF) / 4) << shift;
            diff[i] = faded;
        } else {
            diff[i] = 0xFF0000;
            ++differing;
        }
    }
    if (differing == 0) return 0;
    std::printf("%ld of %ld pixels differ\n", differing, long(width) * height);
    std::string why;
    if (!codec::png_write_file(argv[3], diff.data(), width, height, width, &why)) {
        std::fprintf(stderr, "png_diff: cannot write %s: %s\n", argv[3], why.c_str());
        return 2;
    }
    return 1;
}
