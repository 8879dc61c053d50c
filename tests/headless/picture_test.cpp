// Pictures of the graphics window: the PNG holds exactly what the client area shows,
// the Run menu's Save Picture picks the first free name, and a picture that cannot be
// written says why and leaves no part of itself behind, writes through no link and
// replaces nothing but a plain file.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
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
        GetClientRect(zt::snapshot().graphics_window, &client);
        HDC dc = GetDC(zt::snapshot().graphics_window);
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                p.push_back(uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c));
            }
        ReleaseDC(zt::snapshot().graphics_window, dc);
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
            hl::press_ctrl_key(zt::snapshot().graphics_window, 'S');
        else
            hl::click(zt::snapshot().graphics_window, 1, 1);
    });
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_MOUSE);
    EXPECT_EQ(lines(), (std::vector<std::string>{"Picture saved as ZORVE1.png\n",
                                                 "Picture saved as ZORVE3.png\n"}));
    EXPECT_TRUE(IsWindowVisible(zt::snapshot().console_window)) << "the person sees where it went";
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
    EXPECT_EQ(lines()[3], "Cannot save picture folder.png: is a folder\n");
    for (const auto& entry : fs::directory_iterator("."))
        EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
}

std::string content_of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A link planted where the picture's temporary file used to go, live or dangling, is
// never written through; a name as long as a folder allows still takes a picture.
TEST_F(Picture, NeverWritesThroughALinkAndTakesTheLongestNames) {
    std::ofstream("thesis.txt") << "four years of work";
    fs::create_symlink("thesis.txt", "card.png.partial");
    fs::create_symlink("planted.txt", "ZORVE1.png.partial");
    ZORVE_draw_circle(ZORVE_RED, 0, 0, 40);
    ASSERT_EQ(ZORVE_save_picture("card.png"), 1);
    EXPECT_TRUE(content_of("thesis.txt") == "four years of work") << "the link was written through";
    EXPECT_TRUE(read_png("card.png").pixels == shown());
    save_picture_command();
    EXPECT_FALSE(fs::exists("planted.txt")) << "a dangling link was followed";
    EXPECT_TRUE(read_png("ZORVE1.png").pixels == shown());
    EXPECT_TRUE(fs::is_symlink("card.png.partial") && fs::is_symlink("ZORVE1.png.partial"));

    const std::string longest = std::string(247, 'n') + ".png";  // 251 bytes
    ASSERT_EQ(ZORVE_save_picture(longest.c_str()), 1) << (lines().empty() ? "" : lines().back());
    EXPECT_TRUE(read_png(longest).pixels == shown());
    for (const auto& entry : fs::directory_iterator("."))
        if (!fs::is_symlink(entry.symlink_status())) {
            EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
        }
}

// A pipe, a device, a read-only file and a folder are left as they are, each refused
// with its reason.
TEST_F(Picture, WhatIsNotAWritablePlainFileIsRefusedWithTheReason) {
    ASSERT_EQ(mkfifo("pipe.png", 0644), 0);
    std::ofstream("kept.png") << "not to be replaced";
    fs::permissions("kept.png", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directory("folder.png");
    const bool device = geteuid() == 0 && mknod("null.png", S_IFCHR | 0666, makedev(1, 3)) == 0;

    EXPECT_EQ(ZORVE_save_picture("pipe.png"), 0);
    EXPECT_EQ(ZORVE_save_picture("kept.png"), 0);
    EXPECT_EQ(ZORVE_save_picture("folder.png"), 0);
    if (device) {
        EXPECT_EQ(ZORVE_save_picture("null.png"), 0);
    }
    std::vector<std::string> expected = {"Cannot save picture pipe.png: is not a regular file\n",
                                         "Cannot save picture kept.png: is read-only\n",
                                         "Cannot save picture folder.png: is a folder\n"};
    if (device) expected.push_back("Cannot save picture null.png: is not a regular file\n");
    EXPECT_EQ(lines(), expected);
    EXPECT_TRUE(fs::is_fifo("pipe.png"));
    EXPECT_TRUE(content_of("kept.png") == "not to be replaced") << "the read-only file was replaced";
    EXPECT_TRUE(fs::is_directory("folder.png"));
    if (device) {
        EXPECT_TRUE(fs::is_character_file("null.png"));
    }
}

// Two programs saving pictures from the Run menu in one folder at the same time: no
// two saves take the same name, and every picture is whole.
TEST_F(Picture, TwoProgramsSavingInOneFolderKeepEveryPicture) {
    constexpr int SAVES = 200;
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    pid_t children[2];
    for (pid_t& child : children) {
        child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(go[1]);
            char start;
            if (read(go[0], &start, 1) < 0) _exit(2);  // returns when the parent closes its end
            int saved = 0;
            for (int i = 0; i < SAVES; ++i) {
                lines().clear();
                save_picture_command();
                saved += lines().size() == 1 && lines()[0].rfind("Picture saved as ZORVE", 0) == 0;
            }
            _exit(saved == SAVES ? 0 : 1);
        }
    }
    close(go[0]);
    close(go[1]);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a program did not report every save";
    }
    int pictures = 0;
    for (const auto& entry : fs::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        ASSERT_EQ(name.find(".partial"), std::string::npos) << name;
        ++pictures;
    }
    EXPECT_EQ(pictures, 2 * SAVES);
    for (int n = 1; n <= 2 * SAVES; ++n) {
        const Image image = read_png("ZORVE" + std::to_string(n) + ".png");
        EXPECT_EQ(image.width * image.height, 595 * 496) << "ZORVE" << n << ".png";
    }
}

}  // namespace
