// Pictures for zorve-run, through the stb image libraries.
#include "picture_compare.h"

#include <cerrno>
#include <cstring>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

bool read_picture(const std::string& path, Picture* picture, std::string* why) {
    int channels = 0;
    unsigned char* rgb = stbi_load(path.c_str(), &picture->width, &picture->height, &channels, 3);
    if (!rgb) {
        *why = stbi_failure_reason() ? stbi_failure_reason() : "not a picture";
        if (FILE* f = std::fopen(path.c_str(), "rb"))
            std::fclose(f);
        else
            *why = std::strerror(errno);
        return false;
    }
    const size_t n = static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height);
    picture->pixels.resize(n);
    for (size_t i = 0; i < n; ++i)
        picture->pixels[i] = uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    stbi_image_free(rgb);
    return true;
}

long long differing_pixels(const Picture& expected, const Picture& actual) {
    long long n = 0;
    for (size_t i = 0; i < expected.pixels.size(); ++i) n += expected.pixels[i] != actual.pixels[i];
    return n;
}

bool write_diff(const Picture& expected, const Picture& actual, const std::string& path, std::string* why) {
    std::vector<unsigned char> rgb(expected.pixels.size() * 3);
    for (size_t i = 0; i < expected.pixels.size(); ++i) {
        const uint32_t e = expected.pixels[i];
        const bool same = e == actual.pixels[i];
        for (int c = 0; c < 3; ++c) {
            const unsigned channel = (e >> (16 - 8 * c)) & 0xFF;
            rgb[3 * i + size_t(c)] = static_cast<unsigned char>(same ? 191 + channel / 4 : (c == 0 ? 255 : 0));
        }
    }
    if (stbi_write_png(path.c_str(), expected.width, expected.height, 3, rgb.data(), expected.width * 3)) return true;
    *why = std::strerror(errno);
    return false;
}
