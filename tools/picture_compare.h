// Pictures for zorve-run: read through the project's one codec, compared pixel by
// pixel, and a diff image written.
#ifndef ZORVE_TOOLS_PICTURE_COMPARE_H
#define ZORVE_TOOLS_PICTURE_COMPARE_H

#include <string>

#include "codec/png_codec.h"

using Picture = codec::Picture;

// Reads a PNG file; false with the reason in *why.
inline bool read_picture(const std::string& path, Picture* picture, std::string* why) {
    return codec::png_read_file(path.c_str(), picture, why);
}

// The pixels in which two pictures of the same size differ.
long long differing_pixels(const Picture& expected, const Picture& actual);

// The expected picture faded, with every pixel in which the actual one differs in full
// red; false with the reason in *why.
bool write_diff(const Picture& expected, const Picture& actual, const std::string& path, std::string* why);

#endif
