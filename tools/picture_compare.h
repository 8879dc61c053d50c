// Pictures for zorve-run: read, compared pixel by pixel, and a diff image written.
#ifndef ZORVE_TOOLS_PICTURE_COMPARE_H
#define ZORVE_TOOLS_PICTURE_COMPARE_H

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows from the top
};

// Reads a PNG file; false with the reason in *why.
bool read_picture(const std::string& path, Picture* picture, std::string* why);

// The pixels in which two pictures of the same size differ.
long long differing_pixels(const Picture& expected, const Picture& actual);

// The expected picture faded, with every pixel in which the actual one differs in full
// red; false with the reason in *why.
bool write_diff(const Picture& expected, const Picture& actual, const std::string& path, std::string* why);

#endif
