// The PNG codec on its own: what it writes it reads back to the same pixels, whatever
// the rows' stride and the channels' values, and what it cannot read or write it says
// why.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "codec/png_codec.h"

namespace {

TEST(PngCodec, ReadsBackWhatItWrites) {
    // Every value in every channel, and rows wider apart than the picture, as a window's
    // client area sits inside a larger surface.
    const int width = 61, height = 23, stride = 64;
    std::vector<uint32_t> surface(static_cast<size_t>(stride) * height, 0xDEADBEEF);
    std::vector<uint32_t> wanted;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t i = static_cast<uint32_t>(y * width + x);
            const uint32_t p = (i * 7 % 256) << 16 | (255 - i % 256) << 8 | (i * 13 + y) % 256;
            surface[static_cast<size_t>(y) * stride + x] = p;
            wanted.push_back(p);
        }
    const std::vector<uint8_t> png = codec::png_encode(surface.data(), width, height, stride);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");

    codec::Picture picture;
    std::string why;
    ASSERT_TRUE(codec::png_decode(png.data(), png.size(), &picture, &why)) << why;
    EXPECT_EQ(picture.width, width);
    EXPECT_EQ(picture.height, height);
    EXPECT_TRUE(picture.pixels == wanted);

    const char* path = "png_codec_test.png";
    ASSERT_TRUE(codec::png_write_file(path, surface.data(), width, height, stride, &why)) << why;
    codec::Picture from_file;
    ASSERT_TRUE(codec::png_read_file(path, &from_file, &why)) << why;
    EXPECT_TRUE(from_file.pixels == wanted);
    std::remove(path);
}

TEST(PngCodec, SaysWhyItCannot) {
    EXPECT_TRUE(codec::png_encode(nullptr, 10, 10, 10).empty());
    const uint32_t pixel = 0;
    EXPECT_TRUE(codec::png_encode(&pixel, 0, 1, 1).empty());

    codec::Picture picture;
    std::string why;
    const std::string text = "not a picture at all";
    EXPECT_FALSE(codec::png_decode(reinterpret_cast<const uint8_t*>(text.data()), text.size(), &picture, &why));
    EXPECT_FALSE(why.empty());

    // A PNG cut short: its rows are missing.
    const std::vector<uint8_t> png = codec::png_encode(&pixel, 1, 1, 1);
    why.clear();
    EXPECT_FALSE(codec::png_decode(png.data(), 40, &picture, &why));
    EXPECT_FALSE(why.empty());

    why.clear();
    EXPECT_FALSE(codec::png_read_file("no-such-folder/picture.png", &picture, &why));
    EXPECT_EQ(why, "No such file or directory");
    why.clear();
    EXPECT_FALSE(codec::png_write_file("no-such-folder/picture.png", &pixel, 1, 1, 1, &why));
    EXPECT_EQ(why, "No such file or directory");
}

// Icons keep their transparency: every alpha value survives the round trip; read
// without alpha the colours remain, and a picture without alpha reads back opaque.
TEST(PngCodec, KeepsAlphaWhenAskedTo) {
    const int width = 19, height = 17, stride = 24;
    std::vector<uint32_t> surface(static_cast<size_t>(stride) * height, 0x12345678);
    std::vector<uint32_t> wanted;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t i = static_cast<uint32_t>(y * width + x);
            const uint32_t p = (i * 3 % 256) << 24 | (i * 7 % 256) << 16 | (255 - i % 256) << 8 | (i * 5 + y) % 256;
            surface[static_cast<size_t>(y) * stride + x] = p;
            wanted.push_back(p);
        }
    const char* path = "png_codec_alpha_test.png";
    std::string why;
    ASSERT_TRUE(codec::png_write_file_rgba(path, surface.data(), width, height, stride, &why)) << why;
    codec::Picture with_alpha, without;
    ASSERT_TRUE(codec::png_read_file_rgba(path, &with_alpha, &why)) << why;
    EXPECT_EQ(with_alpha.width, width);
    EXPECT_EQ(with_alpha.height, height);
    EXPECT_TRUE(with_alpha.pixels == wanted);
    ASSERT_TRUE(codec::png_read_file(path, &without, &why)) << why;
    for (uint32_t& p : wanted) p &= 0xFFFFFF;
    EXPECT_TRUE(without.pixels == wanted);
    std::remove(path);

    const std::vector<uint8_t> opaque = codec::png_encode(surface.data(), width, height, stride);
    ASSERT_TRUE(codec::png_decode_rgba(opaque.data(), opaque.size(), &with_alpha, &why)) << why;
    for (uint32_t& p : wanted) p |= 0xFF000000;
    EXPECT_TRUE(with_alpha.pixels == wanted);
    EXPECT_FALSE(codec::png_read_file_rgba("no-such-folder/picture.png", &with_alpha, &why));
}

}  // namespace
