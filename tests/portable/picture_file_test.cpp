// Picture files on every host, Win32 itself included: what stands at the name is
// replaced only when it is a plain writable file, and nothing beside it is touched.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string content_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class PictureFile : public fixture::Canvas {
protected:
    void SetUp() override {
        home_ = fs::current_path();
        folder_ = fs::temp_directory_path() / "zorve-picture-file";
        std::error_code ignored;
        fs::permissions(folder_ / "kept.png", fs::perms::owner_all, ignored);
        fs::remove_all(folder_, ignored);
        fs::create_directories(folder_);
        fs::current_path(folder_);
        fixture::Canvas::SetUp();
    }
    void TearDown() override {
        fixture::Canvas::TearDown();
        fs::current_path(home_);
        std::error_code ignored;
        fs::permissions(folder_ / "kept.png", fs::perms::owner_all, ignored);
        fs::remove_all(folder_, ignored);
    }
    fs::path home_, folder_;
};

TEST_F(PictureFile, OnlyAPlainWritableFileIsReplacedAndNothingBesideIt) {
    std::ofstream("kept.png") << "not to be replaced";
    fs::permissions("kept.png", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directory("folder.png");
    // Where the picture's temporary file used to be written, whatever stood there.
    std::ofstream("card.png.partial") << "someone else's";
    std::ofstream("card.png") << "an older picture";

    ZORVE_draw_circle(ZORVE_RED, 0, 0, 40);
    EXPECT_EQ(ZORVE_save_picture("kept.png"), 0);
    EXPECT_EQ(ZORVE_save_picture("folder.png"), 0);
    EXPECT_EQ(ZORVE_save_picture("no-such-folder/card.png"), 0);
    EXPECT_EQ(ZORVE_save_picture("card.png"), 1);
    EXPECT_EQ(lines(), (std::vector<std::string>{
                           "Cannot save picture kept.png: is read-only\n",
                           "Cannot save picture folder.png: is a folder\n",
                           "Cannot save picture no-such-folder/card.png: No such file or directory\n"}));

    EXPECT_TRUE(content_of("kept.png") == "not to be replaced") << "a read-only file was replaced";
    EXPECT_TRUE(fs::is_directory("folder.png"));
    EXPECT_TRUE(content_of("card.png.partial") == "someone else's") << "a file beside the picture was taken";
    EXPECT_EQ(content_of("card.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(".")) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 4) << "a temporary file was left behind";
}

}  // namespace
