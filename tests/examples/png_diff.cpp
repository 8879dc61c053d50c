// Compares two PNG files pixel by pixel, decoded, so that two encodings of one picture
// are equal. On a difference it writes a diff image: the expected picture faded, with
// every differing pixel in full red.
//
//   png_diff EXPECTED ACTUAL DIFF     exit 0: same pixels, 1: they differ, 2: cannot read
#include <png.h>

#include <cstdio>
#include <vector>

namespace {

struct Picture {
    png_image image{};
    std::vector<png_byte> rgb;
};

bool read_picture(const char* path, Picture* picture) {
    picture->image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&picture->image, path)) {
        std::fprintf(stderr, "png_diff: cannot read %s: %s\n", path, picture->image.message);
        return false;
    }
    picture->image.format = PNG_FORMAT_RGB;
    picture->rgb.resize(PNG_IMAGE_SIZE(picture->image));
    if (!png_image_finish_read(&picture->image, nullptr, picture->rgb.data(), 0, nullptr)) {
        std::fprintf(stderr, "png_diff: cannot decode %s: %s\n", path, picture->image.message);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: png_diff EXPECTED ACTUAL DIFF\n");
        return 2;
    }
    Picture expected, actual;
    if (!read_picture(argv[1], &expected) || !read_picture(argv[2], &actual)) return 2;
    const png_uint_32 width = expected.image.width, height = expected.image.height;
    if (actual.image.width != width || actual.image.height != height) {
        std::printf("size differs: expected %ux%u, got %ux%u\n", width, height,
                    actual.image.width, actual.image.height);
        return 1;
    }
    std::vector<png_byte> diff(expected.rgb.size());
    long differing = 0;
    for (size_t i = 0; i < diff.size(); i += 3) {
        const bool same = expected.rgb[i] == actual.rgb[i] && expected.rgb[i + 1] == actual.rgb[i + 1] &&
                          expected.rgb[i + 2] == actual.rgb[i + 2];
        for (size_t c = 0; c < 3; ++c)
            diff[i + c] = same ? png_byte(191 + expected.rgb[i + c] / 4) : png_byte(c == 0 ? 255 : 0);
        if (!same) ++differing;
    }
    if (differing == 0) return 0;
    std::printf("%ld of %u pixels differ\n", differing, width * height);
    png_image out{};
    out.version = PNG_IMAGE_VERSION;
    out.width = width;
    out.height = height;
    out.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&out, argv[3], 0, diff.data(), 0, nullptr)) {
        std::fprintf(stderr, "png_diff: cannot write %s: %s\n", argv[3], out.message);
        return 2;
    }
    return 1;
}
