// The PNG codec: the stb image libraries (Debian's libstb-dev, header-only), compiled
// here once, PNG only, with every stb function kept inside this file so that a program
// linking its own copy of stb links ours too. Files are read and written here rather
// than by stb, so that a failure can say why (errno).
#include "png_codec.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>

namespace codec {
namespace {

bool write_whole(const char* path, const std::vector<uint8_t>& bytes, std::string* why) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) {
        *why = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int write_error = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        *why = std::strerror(written ? errno : write_error);
        return false;
    }
    return true;
}

bool read_whole(const char* path, std::vector<uint8_t>* bytes, std::string* why) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) {
        *why = std::strerror(errno);
        return false;
    }
    uint8_t block[65536];
    size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) bytes->insert(bytes->end(), block, block + n);
    const bool failed = std::ferror(f) != 0;
    const int read_error = errno;
    std::fclose(f);
    if (failed) *why = std::strerror(read_error);
    return !failed;
}

// Both flavours of each call differ only in the channels of a pixel: 3 (R, G, B) or 4
// (alpha last, from the words' top byte).

// Not inlined: GCC 12, inlining it and stb into a caller across files, takes the
// vector's buffer for a pointer into stb's and warns that freeing it is wrong.
__attribute__((noinline)) std::vector<uint8_t> encode(const uint32_t* pixels, int width, int height, int stride,
                                                      int channels) {
    if (!pixels || width <= 0 || height <= 0 || stride < width || width > INT_MAX / channels / height)
        return {};
    // stb takes bytes in R, G, B order; our words hold them the other way round in memory.
    std::vector<uint8_t> samples(static_cast<size_t>(width) * channels * static_cast<size_t>(height));
    uint8_t* out = samples.data();
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + static_cast<ptrdiff_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            *out++ = static_cast<uint8_t>(row[x] >> 16);
            *out++ = static_cast<uint8_t>(row[x] >> 8);
            *out++ = static_cast<uint8_t>(row[x]);
            if (channels == 4) *out++ = static_cast<uint8_t>(row[x] >> 24);
        }
    }
    // stb's own deflate effort (level 8): on canvas pictures, flat areas and a few
    // figures, other levels change the size by under 0.5 % (bench/codec_bench.cpp).
    int length = 0;
    unsigned char* png =
        stbi_write_png_to_mem(samples.data(), width * channels, width, height, channels, &length);
    if (!png) return {};
    std::vector<uint8_t> bytes(png, png + length);
    STBIW_FREE(png);
    return bytes;
}

bool write_encoded(const char* path, const std::vector<uint8_t>& bytes, std::string* why) {
    if (bytes.empty()) {
        *why = "no pixels to encode, or no memory to encode them";
        return false;
    }
    return write_whole(path, bytes, why);
}

bool decode(const uint8_t* bytes, size_t size, Picture* picture, std::string* why, int channels) {
    if (size > INT_MAX) {
        *why = "too large";
        return false;
    }
    int width = 0, height = 0, in_file = 0;
    stbi_uc* samples = stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &in_file, channels);
    if (!samples) {
        *why = stbi_failure_reason();
        return false;
    }
    picture->width = width;
    picture->height = height;
    picture->pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    const stbi_uc* in = samples;
    for (uint32_t& p : picture->pixels) {
        p = uint32_t(in[0]) << 16 | uint32_t(in[1]) << 8 | in[2];
        if (channels == 4) p |= uint32_t(in[3]) << 24;
        in += channels;
    }
    stbi_image_free(samples);
    return true;
}

bool read_file(const char* path, Picture* picture, std::string* why, int channels) {
    std::vector<uint8_t> bytes;
    if (!read_whole(path, &bytes, why)) return false;
    if (!decode(bytes.data(), bytes.size(), picture, why, channels)) {
        *why = "not a PNG that can be read (" + *why + ")";
        return false;
    }
    return true;
}

}  // namespace

std::vector<uint8_t> png_encode(const uint32_t* pixels, int width, int height, int stride) {
    return encode(pixels, width, height, stride, 3);
}

bool png_write_file(const char* path, const uint32_t* pixels, int width, int height, int stride,
                    std::string* why) {
    return write_encoded(path, png_encode(pixels, width, height, stride), why);
}

bool png_decode(const uint8_t* bytes, size_t size, Picture* picture, std::string* why) {
    return decode(bytes, size, picture, why, 3);
}

bool png_read_file(const char* path, Picture* picture, std::string* why) {
    return read_file(path, picture, why, 3);
}

std::vector<uint8_t> png_encode_rgba(const uint32_t* pixels, int width, int height, int stride) {
    return encode(pixels, width, height, stride, 4);
}

bool png_write_file_rgba(const char* path, const uint32_t* pixels, int width, int height, int stride,
                         std::string* why) {
    return write_encoded(path, png_encode_rgba(pixels, width, height, stride), why);
}

bool png_decode_rgba(const uint8_t* bytes, size_t size, Picture* picture, std::string* why) {
    return decode(bytes, size, picture, why, 4);
}

bool png_read_file_rgba(const char* path, Picture* picture, std::string* why) {
    return read_file(path, picture, why, 4);
}

}  // namespace codec
