// What the console window shows: each line at the bottom, older lines scrolled up by one
// line height, and a repaint that replays the kept lines.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/display/headless.h"
#include "runtime_fixture.h"

namespace {

class ConsoleWindow : public fixture::Canvas {
protected:
    void SetUp() override {
        fixture::Canvas::SetUp();
        // Shown and painted once, as the person sees it.
        console_show(1);
        fixture::drain_messages();
        const HWND console = zt::snapshot().console_window;
        HDC dc = GetDC(console);
        SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        line_height = tm.tmHeight + tm.tmExternalLeading;
        ReleaseDC(console, dc);
        GetClientRect(console, &client);
    }
    // The client area's pixels, row by row, as the person sees them once the program
    // waits (which draws the lines printed since the last wait).
    std::vector<COLORREF> pixels() const {
        console_flush();
        const HWND console = zt::snapshot().console_window;
        HDC dc = GetDC(console);
        std::vector<COLORREF> p;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x) p.push_back(GetPixel(dc, x, y));
        ReleaseDC(console, dc);
        return p;
    }
    // Rows that hold dark (text) pixels.
    std::vector<int> ink_rows() const {
        console_flush();
        const HWND console = zt::snapshot().console_window;
        HDC dc = GetDC(console);
        std::vector<int> rows;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < 200; ++x)
                if (GetRValue(GetPixel(dc, x, y)) < 128) {
                    rows.push_back(y);
                    break;
                }
        ReleaseDC(console, dc);
        return rows;
    }
    int line_height = 0;
    RECT client{};
};

TEST_F(ConsoleWindow, EachLineIsDrawnAtTheBottomAndScrollsTheRestUp) {
    ASSERT_GT(line_height, 5);
    ZORVE_console_printf("%s\n", std::string(40, 'H').c_str());
    std::vector<int> first = ink_rows();
    ASSERT_FALSE(first.empty());
    EXPECT_GE(first.front(), client.bottom - line_height);
    ZORVE_console_printf("\n");  // an empty line still scrolls
    std::vector<int> moved = ink_rows();
    ASSERT_EQ(moved.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(moved[i], first[i] - line_height);
}

TEST_F(ConsoleWindow, ATrailingNewlineIsNotDrawn) {
    ZORVE_console_printf("same text");
    std::vector<COLORREF> without = pixels();
    ZORVE_console_printf("same text\n");
    // One more line scrolled, but the bottom line looks the same.
    std::vector<COLORREF> with = pixels();
    const size_t row = static_cast<size_t>(client.right);
    const size_t bottom = static_cast<size_t>(client.bottom - line_height) * row;
    EXPECT_TRUE(std::equal(with.begin() + long(bottom), with.end(), without.begin() + long(bottom)));
}

TEST_F(ConsoleWindow, ARepaintReplaysTheKeptLinesInOrder) {
    for (int i = 1; i <= 30; ++i) ZORVE_console_printf("line number %d\n", i);
    std::vector<COLORREF> shown = pixels();
    ASSERT_LE(client.bottom / line_height, CONSOLE_RING_LINES);  // all visible lines are kept
    console_show(0);
    console_show(1);
    ZORVE_draw_pixel(ZORVE_RED, 0, 0);
    zp::headless::set_idle_hook([] { zp::headless::click(zt::snapshot().graphics_window, 1, 1); });
    EventRecord e;
    EXPECT_EQ(ZORVE_wait_event(&e), ZORVE_MOUSE);  // the wait dispatches the paint
    zp::headless::set_idle_hook(nullptr);
    EXPECT_TRUE(shown == pixels());
    zp::headless::save_window_png(zt::snapshot().console_window, "console_repaint.png");
}

// Lines printed between two waits are drawn together; the window must look exactly as
// if each had scrolled it by one line as it was printed, however many there are.
TEST_F(ConsoleWindow, ManyLinesAtOnceLookAsOneAtATime) {
    const int visible = (client.bottom + line_height - 1) / line_height;
    for (int count : {1, 2, visible - 1, visible, visible + 1, 3 * visible, CONSOLE_RECENT_LINES + 7}) {
        SCOPED_TRACE(count);
        auto shown_after = [&](bool flush_each) {
            fixture::start_canvas();
            console_show(1);
            fixture::drain_messages();
            for (int i = 0; i < 5; ++i) ZORVE_console_printf("earlier line %d with {[gjpqy|]}\n", i);
            console_flush();
            for (int i = 0; i < count; ++i) {
                // Descenders, brackets and a line without its newline, or with one inside.
                ZORVE_console_printf(i % 3 ? "line %d: gjpqy |[]{}_%s" : "line %d\nsplit%s", i,
                                     i % 2 ? "\n" : "");
                if (flush_each) console_flush();
            }
            return pixels();
        };
        const std::vector<COLORREF> one_at_a_time = shown_after(true);
        EXPECT_TRUE(shown_after(false) == one_at_a_time);
    }
}

// On a screen tall enough for the console to show more lines than the ring keeps, the
// lines that left the ring before they were drawn still show.
TEST_F(ConsoleWindow, ManyLinesAtOnceOnAConsoleTallerThanTheRing) {
    struct DefaultScreenAfter {
        ~DefaultScreenAfter() { zp::headless::set_screen_size(1024, 768); }
    } default_screen_after;
    zp::headless::set_screen_size(1024, 3 * (CONSOLE_RING_LINES + 20) * line_height);
    SetUp();
    const int visible = (client.bottom + line_height - 1) / line_height;
    ASSERT_GT(visible, CONSOLE_RING_LINES + 10);
    for (int count : {CONSOLE_RING_LINES, CONSOLE_RING_LINES + 1, visible + 1, CONSOLE_RECENT_LINES + 7}) {
        SCOPED_TRACE(count);
        auto shown_after = [&](bool flush_each) {
            fixture::start_canvas();
            console_show(1);
            fixture::drain_messages();
            for (int i = 0; i < count; ++i) {
                ZORVE_console_printf("line %d: gjpqy\n", i);
                if (flush_each) console_flush();
            }
            return pixels();
        };
        const std::vector<COLORREF> one_at_a_time = shown_after(true);
        EXPECT_TRUE(shown_after(false) == one_at_a_time);
    }
}

TEST_F(ConsoleWindow, LoggingOnShowsTheConsole) {
    console_show(0);
    EXPECT_FALSE(IsWindowVisible(zt::snapshot().console_window));
    ZORVE_set_logging(1);
    EXPECT_TRUE(IsWindowVisible(zt::snapshot().console_window));
    ZORVE_draw_rect(30, 0, 0, 5, 5, 0);
    EXPECT_EQ(lines().front(), "Illegal color 30; using RED.\n");
    EXPECT_FALSE(ink_rows().empty());
}

// A message that shows the hidden console (the end of a played script, a picture
// saved) is its first line: the repaint that showing brings draws it once, whichever
// comes first, the repaint or the wait's drawing of new lines.
TEST_F(ConsoleWindow, ALineThatShowsTheConsoleIsDrawnOnce) {
    for (const bool paint_first : {true, false}) {
        SCOPED_TRACE(paint_first ? "repaint first" : "new lines first");
        fixture::start_canvas();
        console_show(0);
        fixture::drain_messages();
        console_show(1);
        ZORVE_console_printf("EOF encountered in script file %s\n", SCRIPT_NAME);
        if (!paint_first) console_flush();
        fixture::drain_messages();
        const std::vector<int> rows = ink_rows();
        ASSERT_FALSE(rows.empty());
        EXPECT_GE(rows.front(), client.bottom - line_height) << "ink above the bottom line";
    }
}

// The person closes the console; each thing that shows it shows it again, with the
// lines printed meanwhile: logging switched on, a script problem, Save Picture.
TEST_F(ConsoleWindow, ClosingTheConsoleHidesItUntilSomethingShowsItAgain) {
    namespace hl = zp::headless;
    const std::string home = std::filesystem::current_path().string();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("zorve-console-close-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);  // no ZORVE.SCR here; pictures land here
    const HWND console = zt::snapshot().console_window;
    auto close_console = [&] {
        ASSERT_TRUE(IsWindowVisible(console));
        hl::close_window(console);
        fixture::drain_messages();
        ASSERT_TRUE(IsWindow(console)) << "closing destroyed the console";
        ASSERT_FALSE(IsWindowVisible(console));
    };
    // What a person pressing `key` with Ctrl held makes the program do, in one wait.
    auto ctrl_key = [](int key) {
        int calls = 0;
        hl::set_idle_hook([&] {
            if (calls++ == 0)
                hl::press_ctrl_key(zt::snapshot().graphics_window, key);
            else
                hl::click(zt::snapshot().graphics_window, 1, 1);
        });
        EventRecord e;
        ZORVE_wait_event(&e);
        hl::set_idle_hook(nullptr);
    };

    close_console();
    ZORVE_set_logging(1);
    EXPECT_TRUE(IsWindowVisible(console)) << "logging on";
    ZORVE_set_logging(0);
    close_console();
    ctrl_key('P');
    EXPECT_TRUE(IsWindowVisible(console)) << "a script problem";
    close_console();
    ctrl_key('S');
    EXPECT_TRUE(IsWindowVisible(console)) << "Save Picture";
    ASSERT_FALSE(lines().empty());
    EXPECT_EQ(lines().back(), "Picture saved as ZORVE1.png\n");
    // The line printed while the console was hidden is there, at the bottom.
    fixture::drain_messages();
    EXPECT_FALSE(ink_rows().empty());
    EXPECT_GE(ink_rows().back(), client.bottom - line_height);

    std::filesystem::current_path(home);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace
