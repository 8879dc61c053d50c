// The Run menu's Save Animation on the card designer, run through its real main loop:
// the GIF it writes, read back by giflib's decoder (our code only encodes), holds exactly
// the frames the window showed at the ticks that followed Ctrl+G.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "codec/png_codec.h"
#include "designer_person.h"
#include "gif_reader.h"

namespace {

using namespace person;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

codec::Picture read_png(const fs::path& path) {
    codec::Picture picture;
    std::string why;
    codec::png_read_file(path.string().c_str(), &picture, &why);
    return picture;
}

class DesignerAnimation : public Designer {
protected:
    void SetUp() override {
        home = fs::current_path();
        folder = fs::temp_directory_path() / ("zorve-animation-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::current_path(folder);
        Designer::SetUp();
    }
    void TearDown() override {
        Designer::TearDown();
        fs::current_path(home);
        // Kept to be looked at when something differed.
        if (!HasFailure()) fs::remove_all(folder);
    }
    fs::path home, folder;
};

TEST_F(DesignerAnimation, CtrlGWritesTheNext30FramesTheWindowShows) {
    Script s;
    // A card of ten objects: three hearts and two starbursts, which change on every
    // frame, three faces and two messages, in several colours.
    const int shapes[8][3] = {{-100, 150, 0}, {60, 150, 0}, {170, -100, 0}, {-60, 40, 1},
                              {150, 60, 1},   {0, -100, 2}, {-100, -80, 3}, {110, 130, 4}};
    for (const auto& shape : shapes) {
        s.click_button(BUTTON_NEW_SHAPE);
        s.click(shape[0], shape[1]);
        for (int k = 0; k < shape[2]; ++k) s.click_button(BUTTON_NEXT_OBJECT);
        if (shape[0] > 0) s.click_button(BUTTON_OBJECT_COLOR);
    }
    s.click_button(BUTTON_NEW_MESSAGE);
    s.click(-120, -20);
    s.click_button(BUTTON_NEW_MESSAGE);
    s.click(20, 0);
    s.click_button(BUTTON_NEXT_OBJECT);
    s.click_button(BUTTON_BACKGROUND_COLOR);
    s.ctrl_key('G');
    // Each tick takes the frame the window shows; the snapshot is taken just before.
    constexpr int FRAMES = 30;
    for (int i = 0; i < FRAMES; ++i) {
        s.check([i] {
            char name[32];
            std::snprintf(name, sizeof name, "shown-%02d.png", i);
            EXPECT_TRUE(hl::save_window_png(zt::snapshot().graphics_window, name));
        });
        s.tick();
    }
    s.tick();  // one more, which the animation no longer takes
    EXPECT_EQ(s.run(), 0);

    const Lines said = lines();
    EXPECT_NE(std::find(said.begin(), said.end(), "Collecting 30 frames for ZORVE1.gif\n"), said.end());
    EXPECT_NE(std::find(said.begin(), said.end(), "Animation saved as ZORVE1.gif\n"), said.end());
    ASSERT_TRUE(fs::exists("ZORVE1.gif"));
    EXPECT_LT(fs::file_size("ZORVE1.gif"), 300u * 1024) << "a 30-frame card of ten objects";

    // The file read back by giflib's decoder and composed as a viewer shows it: at the
    // end of each 100 ms, the picture the window showed at that tick.
    const gif_reader::Animation a = gif_reader::read_file("ZORVE1.gif");
    ASSERT_TRUE(a.read) << "giflib cannot read the file";
    EXPECT_TRUE(a.loops_for_ever);
    EXPECT_EQ(a.width, 595);
    EXPECT_EQ(a.height, 496);
    const std::vector<std::vector<uint32_t>> frames = gif_reader::frames(a, 10);
    ASSERT_EQ(frames.size(), size_t(FRAMES)) << "each frame shows for one 100 ms tick";
    bool moved = false;  // hearts pulse and starbursts sparkle: not every frame is the first
    const codec::Picture first = read_png("shown-00.png");
    for (int frame = 0; frame < FRAMES; ++frame) {
        char shown[32];
        std::snprintf(shown, sizeof shown, "shown-%02d.png", frame);
        const codec::Picture expected = read_png(shown);
        ASSERT_EQ(expected.width, 595);
        ASSERT_EQ(expected.height, 496);
        EXPECT_TRUE(frames[size_t(frame)] == expected.pixels) << "frame " << frame << " differs from " << shown
                                                              << " in " << folder;
        moved = moved || expected.pixels != first.pixels;
    }
    EXPECT_TRUE(moved);
}

}  // namespace
