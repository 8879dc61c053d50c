// The script file against the file system: only a plain file is opened (a pipe or a
// device of that name would block or worse), and a recording that cannot be written
// says so and stops instead of losing itself in silence.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "runtime_fixture.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

int wait_after_click() {
    const zt::Snapshot s = zt::snapshot();
    PostMessageA(s.graphics_window, WM_LBUTTONDOWN, 1, MAKELPARAM(s.origin_x, s.origin_y));
    EventRecord e;
    return ZORVE_wait_event(&e);
}

class ScriptFile : public fixture::TimedCanvas {
protected:
    void SetUp() override {
        home = fs::current_path();
        folder = fs::temp_directory_path() /
                 ("zorve-file-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
        fs::current_path(folder);
        fixture::TimedCanvas::SetUp();
    }
    void TearDown() override {
        fixture::TimedCanvas::TearDown();
        runtime_reset();
        fs::current_path(home);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    fs::path home, folder;
};

TEST_F(ScriptFile, APipeOrAFolderNamedLikeTheScriptIsNotOpened) {
    ASSERT_EQ(mkfifo("ZORVE.SCR", 0600), 0);
    playback_start();
    EXPECT_EQ(wait_after_click(), ZORVE_MOUSE);  // returns: the pipe is not opened
    recording_start();
    EXPECT_EQ(wait_after_click(), ZORVE_MOUSE);
    recording_stop();
    fs::remove("ZORVE.SCR");
    fs::create_directory("ZORVE.SCR");
    play_one_start();
    EXPECT_EQ(wait_after_click(), ZORVE_MOUSE);
    EXPECT_EQ(lines(), (Lines{"Cannot open script file ZORVE.SCR for reading\n",
                              "Cannot open script file ZORVE.SCR for writing\n",
                              "Cannot open script file ZORVE.SCR for reading\n"}));
}

// Runs in a child process whose files may not grow beyond 40 bytes: the second line of
// the recording cannot be written.
[[noreturn]] void record_onto_a_full_disk() {
    signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails instead of killing us
    rlimit limit = {40, 40};
    setrlimit(RLIMIT_FSIZE, &limit);
    fixture::start_canvas();
    recording_start();
    bool ok = true;
    for (int i = 0; i < 6; ++i) ok = ok && wait_after_click() == ZORVE_MOUSE;
    ok = ok && zt::snapshot().recording_flag == 0;
    ok = ok && !(GetMenuState(zt::snapshot().run_menu, MENU_RECORD_SCRIPT, MF_BYCOMMAND) & MF_CHECKED);
    ok = ok && IsWindowVisible(zt::snapshot().console_window);
    ok = ok && fixture::console_lines() == Lines{"Cannot write script file ZORVE.SCR\n"};
    ZORVE_stop();
    std::exit(ok ? 0 : 1);
}

TEST_F(ScriptFile, ARecordingThatCannotBeWrittenSaysSoOnceAndStops) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(record_onto_a_full_disk(), testing::ExitedWithCode(0), "");
}

}  // namespace
