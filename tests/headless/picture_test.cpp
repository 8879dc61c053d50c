// Pictures of the graphics window: the PNG holds exactly what the client area shows,
// the Run menu's Save Picture picks the first free name, and a picture that cannot be
// written says why and leaves no part of itself behind.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "codec/png_codec.h"
#include "platform/display/headless.h"
#include "runtime_fixture.h"

namespace {

namespace fs = std::filesystem;
namespace hl = zp::headless;

struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB
};

// Decoded by the codec's reader (stb_image), which shares no code with its writer.
Image read_png(const std::string& path) {
    Image image;
    codec::Picture picture;
    std::string why;
    if (!codec::png_read_file(path.c_str(), &picture, &why)) return image;
    image.width = picture.width;
    image.height = picture.height;
    image.pixels = std::move(picture.pixels);
    return image;
}

class Picture : public fixture::Canvas {
protected:
    void SetUp() override {
        home = fs::current_path();
        folder = fs::temp_directory_path() / ("zorve-picture-" + std::to_string(getpid()));
        fs::create_directories(folder);
        fs::current_path(folder);
        fixture::Canvas::SetUp();
    }
    void TearDown() override {
        fixture::Canvas::TearDown();
        hl::set_idle_hook(nullptr);
        fs::current_path(home);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    // What the window shows, pixel by pixel.
    static std::vector<uint32_t> shown() {
        std::vector<uint32_t> p;
        RECT client;
        GetClientRect(runtime.graphics_window, &client);
        HDC dc = GetDC(runtime.graphics_window);
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                p.push_back(uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c));
            }
        ReleaseDC(runtime.graphics_window, dc);
        return p;
    }
    fs::path home, folder;
};

TEST_F(Picture, HoldsExactlyWhatTheWindowShows) {
    for (int c = 0; c < ZORVE_COLORS; ++c)
        ZORVE_draw_rect(c, -290 + 24 * c, 240, -270 + 24 * c, -240, c % 3);
    ZORVE_draw_oval(ZORVE_PURPLE, -100, 100, 150, -60, 5);
    ZORVE_draw_text(ZORVE_NAVY_BLUE, -200, 0, 30, "Be Mine");
    for (int x = -297; x <= 297; x += 7) ZORVE_draw_pixel(x % 24 < 0 ? -(x % 24) : x % 24, x, -x / 3);
    ASSERT_EQ(ZORVE_save_picture("card.png"), 1);  // shows the frame first, then takes it
    const Image image = read_png("card.png");
    EXPECT_EQ(image.width, 595);
    EXPECT_EQ(image.height, 496);
    EXPECT_TRUE(image.pixels == shown()) << "the PNG's pixels differ from the window's";
    EXPECT_FALSE(fs::exists("card.png.partial"));

    ZORVE_clear();
    ASSERT_EQ(ZORVE_save_picture("card.png"), 1);  // replaces the old picture whole
    const Image blank = read_png("card.png");
    EXPECT_TRUE(blank.pixels == shown());
    EXPECT_LT(fs::file_size("card.png"), 20000u) << "a white picture compresses (raw: 885 KB)";
    EXPECT_TRUE(lines().empty());
}

TEST_F(Picture, SavePictureFromTheMenuTakesTheFirstFreeName) {
    std::FILE* taken = std::fopen("ZORVE2.png", "wb");
    std::fclose(taken);
    ZORVE_draw_circle(ZORVE_RED, 0, 0, 40);
    int waits = 0;
    hl::set_idle_hook([&] {
        if (++waits <= 2)
            hl::press_ctrl_key(runtime.graphics_window, 'S');
        else
            hl::click(runtime.graphics_window, 1, 1);
    });
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_MOUSE);
    EXPECT_EQ(lines(), (std::vector<std::string>{"Picture saved as ZORVE1.png\n",
                                                 "Picture saved as ZORVE3.png\n"}));
    EXPECT_TRUE(IsWindowVisible(runtime.console_window)) << "the person sees where it went";
    EXPECT_TRUE(read_png("ZORVE1.png").pixels == shown());
    EXPECT_TRUE(read_png("ZORVE3.png").pixels == shown());
    EXPECT_EQ(fs::file_size("ZORVE2.png"), 0u);
}

TEST_F(Picture, APictureThatCannotBeWrittenSaysWhyAndLeavesNothing) {
    EXPECT_EQ(ZORVE_save_picture("no-such-folder/card.png"), 0);
    EXPECT_EQ(ZORVE_save_picture(""), 0);
    EXPECT_EQ(ZORVE_save_picture(nullptr), 0);
    fs::create_directory("folder.png");
    EXPECT_EQ(ZORVE_save_picture("folder.png"), 0);
    EXPECT_TRUE(fs::is_directory("folder.png"));
    ASSERT_EQ(lines().size(), 4u);
    EXPECT_EQ(lines()[0], "Cannot save picture no-such-folder/card.png: No such file or directory\n");
    EXPECT_EQ(lines()[1], "Cannot save picture: no file name\n");
    EXPECT_EQ(lines()[2], "Cannot save picture: no file name\n");
    EXPECT_EQ(lines()[3].rfind("Cannot save picture folder.png: ", 0), 0u);
    for (const auto& entry : fs::directory_iterator("."))
        EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
}

}  // namespace
