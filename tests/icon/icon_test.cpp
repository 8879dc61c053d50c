// The designer's icon, drawn by cordelune-icons: in every size a red heart on a
// transparent square (its lobes, the notch between them and its tip where a heart has
// them), and a .ico whose images are those same pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "codec/png_codec.h"

namespace {

const int SIZES[] = {16, 24, 32, 48, 64, 128, 256};
constexpr uint32_t OPAQUE_RED = 0xFFFF0000;

// The tool's output, made once per test in a folder of its own (ctest runs the tests
// side by side).
const std::filesystem::path& icon_dir() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path d = std::filesystem::current_path() /
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(d);
        std::filesystem::create_directories(d);
        const std::string command = std::string(ICON_TOOL) + " '" + d.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return d;
    }();
    return dir;
}

std::filesystem::path png_of(int size) {
    const std::string n = std::to_string(size);
    return icon_dir() / "share/icons/hicolor" / (n + "x" + n) / "apps/cordelune.png";
}

codec::Picture read_icon(int size) {
    codec::Picture picture;
    std::string why;
    EXPECT_TRUE(codec::png_read_file_rgba(png_of(size).c_str(), &picture, &why)) << png_of(size) << ": " << why;
    return picture;
}

std::vector<uint8_t> bytes_of(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
           uint32_t(b.at(at + 3)) << 24;
}

TEST(DesignerIcon, EverySizeIsTheRedHeartOnTransparency) {
    for (int size : SIZES) {
        SCOPED_TRACE("size " + std::to_string(size));
        const codec::Picture icon = read_icon(size);
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        const auto at = [&](double fx, double fy) {
            return icon.pixels[static_cast<size_t>(int(fy * size) * size + int(fx * size))];
        };
        // Solid in the middle and in both lobes; nothing in the corners, in the notch
        // between the lobes, or beside the tip.
        EXPECT_EQ(at(0.5, 0.5), OPAQUE_RED);
        EXPECT_EQ(at(0.28, 0.3), OPAQUE_RED);
        EXPECT_EQ(at(0.72, 0.3), OPAQUE_RED);
        EXPECT_EQ(at(0.5, 0.8), OPAQUE_RED);
        for (const auto& [fx, fy] : {std::pair{0.0, 0.0}, {0.99, 0.0}, {0.0, 0.99}, {0.99, 0.99},
                                     {0.5, 0.06}, {0.2, 0.85}, {0.8, 0.85}})
            EXPECT_EQ(at(fx, fy) >> 24, 0u) << "at (" << fx << ", " << fy << ")";
        // Only the heart's red, however transparent an edge pixel is: the background
        // does not bleed into the edges as a light fringe.
        double ink = 0;
        for (uint32_t p : icon.pixels) {
            if (p >> 24) {
                EXPECT_EQ(p & 0xFFFFFF, 0xFF0000u);
            }
            ink += (p >> 24) / 255.0;
        }
        // The heart fills about half of the square, the same share at every size (the
        // scaling keeps each pixel's coverage).
        EXPECT_NEAR(ink / (size * size), 0.49, 0.01);
    }
}

TEST(DesignerIcon, IcoHoldsTheSamePictures) {
    const std::vector<uint8_t> ico = bytes_of(icon_dir() / "cordelune.ico");
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(ico[0] | ico[1] << 8, 0);
    EXPECT_EQ(ico[2] | ico[3] << 8, 1);  // icons
    ASSERT_EQ(ico[4] | ico[5] << 8, int(std::size(SIZES)));
    for (size_t i = 0; i < std::size(SIZES); ++i) {
        const int size = SIZES[i];
        SCOPED_TRACE("size " + std::to_string(size));
        const size_t entry = 6 + 16 * i;
        EXPECT_EQ(ico.at(entry), size % 256);  // 0 stands for 256
        EXPECT_EQ(ico.at(entry + 1), size % 256);
        const uint32_t length = le32(ico, entry + 8), offset = le32(ico, entry + 12);
        ASSERT_LE(size_t(offset) + length, ico.size());
        const std::vector<uint8_t> image(ico.begin() + offset, ico.begin() + offset + length);
        if (size == 256) {
            // Stored as the PNG file itself.
            EXPECT_EQ(image, bytes_of(png_of(size)));
            continue;
        }
        // A 32-bit bitmap of doubled height: colour rows then mask rows, bottom up.
        ASSERT_EQ(le32(image, 0), 40u);
        EXPECT_EQ(le32(image, 4), uint32_t(size));
        EXPECT_EQ(le32(image, 8), uint32_t(2 * size));
        EXPECT_EQ(image.at(14) | image.at(15) << 8, 32);
        const codec::Picture icon = read_icon(size);
        const size_t mask_stride = (size + 31) / 32 * 4;
        ASSERT_EQ(image.size(), 40 + size_t(size) * size * 4 + mask_stride * size);
        int differing = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const uint32_t want = icon.pixels[size_t(y * size + x)];
                const size_t row = size_t(size - 1 - y);
                const uint32_t got = le32(image, 40 + (row * size + x) * 4);  // B, G, R, A
                const bool masked = image.at(40 + size_t(size) * size * 4 + row * mask_stride + x / 8) &
                                    (0x80 >> (x % 8));
                if (got != want || masked != ((want >> 24) == 0)) ++differing;
            }
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace
