// PNG pictures of 0x00RRGGBB pixels, written and read by one codec on every target:
// the runtime's pictures, the headless presenter's dumps, and the tools and tests that
// read them back.
#ifndef ZORVE_CODEC_PNG_CODEC_H
#define ZORVE_CODEC_PNG_CODEC_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace codec {

// The bytes of an 8-bit RGB PNG of `width` x `height` pixels: 0x00RRGGBB words, rows
// from the top, `stride` words apart. Empty when there is nothing to encode or no
// memory to encode it in.
std::vector<uint8_t> png_encode(const uint32_t* pixels, int width, int height, int stride);

// Encodes and writes a whole file. False, with the reason in `why`, when it cannot.
bool png_write_file(const char* path, const uint32_t* pixels, int width, int height, int stride,
                    std::string* why);

// A decoded picture: 0x00RRGGBB words, rows from the top, `width` words apart.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Decodes a PNG of any colour type and depth to 8-bit RGB; an alpha channel is dropped.
// False, with the reason in `why`, when the bytes are not a PNG that can be read.
bool png_decode(const uint8_t* bytes, size_t size, Picture* picture, std::string* why);

// Reads and decodes a PNG file; the reason says whether the file or its contents failed.
bool png_read_file(const char* path, Picture* picture, std::string* why);

// The same with an alpha channel, for pictures with transparent parts (icons): pixels
// are 0xAARRGGBB words, straight (not premultiplied) alpha. Decoding gives a picture
// without alpha an opaque 0xFF.
std::vector<uint8_t> png_encode_rgba(const uint32_t* pixels, int width, int height, int stride);
bool png_write_file_rgba(const char* path, const uint32_t* pixels, int width, int height, int stride,
                         std::string* why);
bool png_decode_rgba(const uint8_t* bytes, size_t size, Picture* picture, std::string* why);
bool png_read_file_rgba(const char* path, Picture* picture, std::string* why);

}  // namespace codec

#endif
