// Animations: the GIF codec keeps every colour of a frame, however many; the runtime
// collects, at each tick, what the window shows, and writes what it has when the
// program stops early. Read back with giflib's own decoder, here and under Wine on
// Windows' own GDI.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "codec/gif_codec.h"
#include "codec/png_codec.h"
#include "gif_reader.h"
#include "runtime_fixture.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

uint32_t rgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// A frame of 40 x 30 whose every pixel has a colour of its own (1,200 colours), the
// palette's 24 among them, so that it takes more than one image.
std::vector<uint32_t> many_colours(int seed) {
    std::vector<uint32_t> p;
    for (int i = 0; i < 40 * 30; ++i) p.push_back(rgb((i * 7 + seed) % 256, (i / 5) % 256, (i * 31 + 3 * seed) % 256));
    for (int c = 0; c < ZORVE_COLORS; ++c)
        p[size_t(c) * 41] = rgb(GetRValue(palette[c]), GetGValue(palette[c]), GetBValue(palette[c]));
    return p;
}

TEST(GifCodec, FramesComeOutExactOrTheirKeptColoursDo) {
    std::vector<uint32_t> kept;
    for (int c = 0; c < ZORVE_COLORS; ++c) kept.push_back(rgb(GetRValue(palette[c]), GetGValue(palette[c]), GetBValue(palette[c])));
    codec::GifAnimation gif;
    ASSERT_TRUE(codec::gif_begin(&gif, 40, 30, kept.data(), int(kept.size())));
    // 1: 700 colours, exact in three images. 2: a rectangle of a few colours. 3: nothing
    // changed. 4: 1,200 colours, more than four images hold.
    std::vector<uint32_t> first = many_colours(0);
    for (size_t i = 0; i < first.size(); ++i)
        if (i % 12 >= 7) first[i] = kept[i % 3];
    std::vector<uint32_t> second = first;
    for (int y = 10; y < 14; ++y)
        for (int x = 5; x < 25; ++x) second[size_t(y) * 40 + size_t(x)] = kept[size_t(x % 4)];
    const std::vector<uint32_t> fourth = many_colours(9);
    ASSERT_TRUE(codec::gif_add_frame(&gif, first.data(), 40, 0, 0, 40, 30, 10));
    ASSERT_TRUE(codec::gif_add_frame(&gif, second.data() + 10 * 40 + 5, 40, 5, 10, 20, 4, 10));
    ASSERT_TRUE(codec::gif_add_frame(&gif, nullptr, 0, 0, 0, 0, 0, 10));
    ASSERT_TRUE(codec::gif_add_frame(&gif, fourth.data(), 40, 0, 0, 40, 30, 10));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(codec::gif_finish(&gif, &bytes));

    const gif_reader::Animation a = gif_reader::read(bytes);
    ASSERT_TRUE(a.read);
    EXPECT_TRUE(a.loops_for_ever);
    EXPECT_GT(a.images.size(), 4u) << "frames of many colours take several images";
    const auto frames = gif_reader::frames(a, 10);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_TRUE(frames[0] == first);
    EXPECT_TRUE(frames[1] == second);
    EXPECT_TRUE(frames[2] == second);
    int exact = 0;
    for (size_t i = 0; i < fourth.size(); ++i) {
        exact += frames[3][i] == fourth[i];
        if (i % 41 == 0 && i / 41 < kept.size()) {
            EXPECT_EQ(frames[3][i], fourth[i]) << "kept colour at " << i;
        }
    }
    EXPECT_GE(exact, 4 * 255 - 1) << "four images of 255 colours each";
    EXPECT_LT(exact, int(fourth.size()));

    // What it cannot write.
    ASSERT_TRUE(codec::gif_begin(&gif, 40, 30, nullptr, 0));
    EXPECT_FALSE(codec::gif_add_frame(&gif, first.data(), 40, 0, 0, 20, 30, 10)) << "the first frame is whole";
    EXPECT_FALSE(codec::gif_finish(&gif, &bytes));
    EXPECT_TRUE(bytes.empty());
    ASSERT_TRUE(codec::gif_begin(&gif, 40, 30, nullptr, 0));
    ASSERT_TRUE(codec::gif_add_frame(&gif, first.data(), 40, 0, 0, 40, 30, 10));
    EXPECT_FALSE(codec::gif_add_frame(&gif, first.data(), 40, 30, 0, 20, 30, 10)) << "outside the picture";
    codec::gif_abandon(&gif);
    EXPECT_FALSE(codec::gif_begin(&gif, 0, 30, nullptr, 0));
}

class Animation : public fixture::TimedCanvas {
protected:
    void SetUp() override {
        home = fs::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() / (std::string("zorve-animation-") + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::current_path(folder);
        fixture::TimedCanvas::SetUp();
    }
    void TearDown() override {
        fixture::TimedCanvas::TearDown();
        fs::current_path(home);
        std::error_code ignored;
        if (!HasFailure()) fs::remove_all(folder, ignored);
    }
    static void tick() {
        ZORVE_set_animation(ANIMATE_STEP);
        EXPECT_EQ(ZORVE_wait_event(nullptr), ZORVE_PERIODIC);
    }
    fs::path home, folder;
};

// Each frame the program draws, text's smoothing shades in several colours included
// (more than one image holds, where text is smoothed as finely as ours), is what the
// file holds at the ticks that follow it; the window's picture says what it showed.
// Headless, one tick comes in each wait; on Windows the timer runs in real time, and a
// tick that came while the program drew is taken in the next wait before the one that
// ends it: a picture then shows for more than one frame, but never out of turn.
TEST_F(Animation, HoldsWhatTheWindowShowedAtEachTick) {
    ASSERT_EQ(ZORVE_save_animation("drawn.gif", 30), 1);
    for (int frame = 0; frame < 3; ++frame) {
        for (int c = 0; c < ZORVE_COLORS; ++c) {
            ZORVE_draw_rect(c, -297 + 24 * c, 248, -274 + 24 * c, -247, 0);
            if (c % 3 == 0) ZORVE_draw_text((c + 5 + frame) % ZORVE_COLORS, -297 + 24 * c, 40 * frame - 60, 18, "Be");
        }
        ZORVE_draw_circle(ZORVE_RED, 100 * frame - 100, 100, 30);
        char name[16];
        std::snprintf(name, sizeof name, "shown-%d.png", frame);
        ASSERT_EQ(ZORVE_save_picture(name), 1);
        tick();
    }
    ZORVE_stop();
    const gif_reader::Animation a = gif_reader::read_file("drawn.gif");
    ASSERT_TRUE(a.read);
    EXPECT_EQ(a.width, 595);
    EXPECT_EQ(a.height, 496);
    const auto frames = gif_reader::frames(a, 10);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0], "Animation saved as drawn.gif with " + std::to_string(frames.size()) +
                              " of its 30 frames: the program stopped\n");
#ifndef _WIN32
    EXPECT_EQ(frames.size(), 3u);
#endif
    size_t at = 0;
    for (int frame = 0; frame < 3; ++frame) {
        codec::Picture shown;
        std::string why;
        ASSERT_TRUE(codec::png_read_file(("shown-" + std::to_string(frame) + ".png").c_str(), &shown, &why)) << why;
        ASSERT_LT(at, frames.size());
        EXPECT_TRUE(frames[at] == shown.pixels) << "frame " << at << " is not picture " << frame;
        for (++at; at < frames.size() && frames[at] == shown.pixels;) ++at;
    }
    EXPECT_EQ(at, frames.size()) << "frames after the last picture";
}

// A program that stops first: what was collected is written, and the console says it is
// short; with nothing collected, nothing is written.
TEST_F(Animation, StoppingEarlyWritesWhatWasCollected) {
    ASSERT_EQ(ZORVE_save_animation("short.gif", 10), 1);
    tick();
    ZORVE_draw_rect(ZORVE_BLUE, -50, 50, 50, -50, 0);
    tick();
    ZORVE_stop();
    const auto frames = gif_reader::frames(gif_reader::read_file("short.gif"), 10);
    // Two ticks headless; on Windows (real time) maybe more, as above.
#ifndef _WIN32
    ASSERT_EQ(frames.size(), 2u);
#endif
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(lines(), Lines{"Animation saved as short.gif with " + std::to_string(frames.size()) +
                             " of its 10 frames: the program stopped\n"});
    EXPECT_NE(frames.front()[size_t(248 * 595 + 297)], rgb(0, 0, 255));
    EXPECT_EQ(frames.back()[size_t(248 * 595 + 297)], rgb(0, 0, 255));

    fixture::start_canvas();
    ASSERT_EQ(ZORVE_save_animation("none.gif", 5), 1);
    ZORVE_stop();
    EXPECT_EQ(lines(), Lines{"Cannot save animation none.gif: the program stopped before its first frame\n"});
    EXPECT_FALSE(fs::exists("none.gif"));
}

TEST_F(Animation, CorrectsItsFramesAndRefusesASecondOne) {
    EXPECT_EQ(ZORVE_save_animation(nullptr, 5), 0);
    EXPECT_EQ(ZORVE_save_animation("", 5), 0);
    EXPECT_EQ(ZORVE_save_animation("long.gif", 500), 1);
    EXPECT_EQ(ZORVE_save_animation("other.gif", 5), 0);
    EXPECT_EQ(lines(), (Lines{"Cannot save animation: no file name\n", "Cannot save animation: no file name\n",
                              "Frames of 500 not possible, using 300\n",
                              "Already collecting an animation for long.gif; not starting another\n"}));
    EXPECT_EQ(zt::animation().file, "long.gif") << "the second call changes nothing";
    EXPECT_EQ(zt::animation().frames_wanted, 300);
    animation_abandon();
    lines().clear();
    EXPECT_EQ(ZORVE_save_animation("one.gif", 0), 1);
    EXPECT_EQ(lines(), Lines{"Frames of 0 not possible, using 1\n"});
    tick();
    EXPECT_EQ(lines().back(), "Animation saved as one.gif\n");
    EXPECT_TRUE(fs::exists("one.gif"));
}

}  // namespace
