// Recording the event stream into "ZORVE.SCR" and playing it back, wait by wait.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime_fixture.h"

namespace {

using Lines = std::vector<std::string>;
const char* const SCRIPT = "ZORVE.SCR";

void write_script(const std::string& content) {
    std::ofstream out(SCRIPT, std::ios::binary);
    out << content;
}

// The file's text with line ends as "\n", whatever the host writes.
std::string read_script() {
    std::ifstream in(SCRIPT, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string text;
    for (char c : s.str())
        if (c != '\r') text += c;
    return text;
}

namespace fs = std::filesystem;

class Script : public fixture::TimedCanvas {
protected:
    // Each test in a folder of its own: the script file's name is fixed, and tests may
    // run side by side.
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        home = fs::current_path();
        folder = fs::temp_directory_path() / (std::string("zorve-script-") + info->name());
        fs::create_directories(folder);
        fs::current_path(folder);
        fixture::TimedCanvas::SetUp();
        zt::reset_switches();
        std::remove(SCRIPT);
    }
    void TearDown() override {
        zt::reset_switches();
        std::remove(SCRIPT);
        fixture::TimedCanvas::TearDown();
        fs::current_path(home);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    fs::path home, folder;

    static void post(UINT message, WPARAM wparam, LPARAM lparam) {
        PostMessageA(zt::snapshot().graphics_window, message, wparam, lparam);
    }
    static void click_at(int x, int y) {
        const zt::Snapshot s = zt::snapshot();
        post(WM_LBUTTONDOWN, 1, MAKELPARAM(s.origin_x + x, s.origin_y - y));
        post(WM_LBUTTONUP, 0, MAKELPARAM(s.origin_x + x, s.origin_y - y));
    }
    static void type_char(int ch) { post(WM_CHAR, static_cast<WPARAM>(ch), 1); }
    static int wait(EventRecord* e = nullptr) {
        EventRecord local;
        return ZORVE_wait_event(e ? e : &local);
    }
    static void periodic_events(int n) {
        ZORVE_set_animation(ANIMATE_RUN);
        for (int i = 0; i < n; ++i) ASSERT_EQ(wait(), ZORVE_PERIODIC);
        ZORVE_set_animation(ANIMATE_HALT);
    }
    static bool playback_checked() {
        return (GetMenuState(zt::snapshot().run_menu, MENU_PLAYBACK_SCRIPT, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
};

const std::string EXAMPLE =
    "ZORVE_PERIODIC(12);\n"
    "ZORVE_MOUSE(-150, 40);\n"
    "ZORVE_PERIODIC(3);\n"
    "ZORVE_KBD(97);\n";

TEST_F(Script, RecordingRunLengthCodesPeriodicEventsAndSkipsQuit) {
    post(WM_COMMAND, MENU_RECORD_SCRIPT, 0);
    click_at(-150, 40);
    EXPECT_EQ(wait(), ZORVE_MOUSE);  // the command's own wait is recorded too
    EXPECT_EQ(GetMenuState(zt::snapshot().run_menu, MENU_RECORD_SCRIPT, MF_BYCOMMAND) & MF_CHECKED,
              static_cast<UINT>(MF_CHECKED));
    periodic_events(12);
    click_at(-150, 40);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    periodic_events(3);
    type_char('a');
    EXPECT_EQ(wait(), ZORVE_KBD);
    post(WM_COMMAND, MENU_QUIT, 0);
    EXPECT_EQ(wait(), ZORVE_QUIT);
    script_close();  // as ZORVE_stop does
    EXPECT_EQ(read_script(), "ZORVE_MOUSE(-150, 40);\n" + EXAMPLE);
}

TEST_F(Script, PlaybackReturnsTheRecordedEventsWaitByWait) {
    write_script(EXAMPLE);
    playback_start();
    EXPECT_TRUE(playback_checked());
    EventRecord e;
    for (int i = 0; i < 12; ++i) ASSERT_EQ(wait(&e), ZORVE_PERIODIC) << i;
    EXPECT_EQ(wait(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, -150);
    EXPECT_EQ(e.y, 40);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(wait(&e), ZORVE_PERIODIC);
    EXPECT_EQ(wait(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 97);
    EXPECT_TRUE(lines().empty());
    // The end: said once, playback over, the event comes from live input.
    click_at(7, 8);
    EXPECT_EQ(wait(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, 7);
    EXPECT_EQ(lines(), (Lines{"EOF encountered in script file ZORVE.SCR\n"}));
    EXPECT_EQ(zt::snapshot().playing_flag, 0);
    EXPECT_FALSE(playback_checked());
}

TEST_F(Script, StoppingAfterPeriodicEventsWritesTheirCount) {
    recording_start();
    periodic_events(2);
    recording_stop();
    EXPECT_EQ(read_script(), "ZORVE_PERIODIC(2);\n");
    recording_start();
    periodic_events(1);
    recording_stop();
    EXPECT_EQ(read_script(), "ZORVE_PERIODIC(1);\n");
}

TEST_F(Script, RecordingWithoutEventsLeavesAnExistingFileAlone) {
    write_script("ZORVE_KBD(65);\n");
    recording_start();
    recording_stop();
    EXPECT_EQ(read_script(), "ZORVE_KBD(65);\n");
}

TEST_F(Script, PlayOneDeliversOneEventPerCommand) {
    write_script("ZORVE_PERIODIC(12);\nZORVE_KBD(98);\n");
    EventRecord e;
    for (int i = 0; i < 12; ++i) {
        post(WM_COMMAND, MENU_PLAY_ONE, 0);
        ASSERT_EQ(wait(&e), ZORVE_PERIODIC) << i;
    }
    play_one_start();
    EXPECT_EQ(wait(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 98);
    EXPECT_FALSE(playback_checked());  // play-one never checks the menu
}

TEST_F(Script, LineForms) {
    write_script(
        "\n\n"
        "XXXXX_Mxyz(3, -4);\n"  // only the seventh character decides
        "ZORVE_KBD(-5);\n"      // the reader takes digits only
        "ZORVE_PERIODIC(0);\n"  // still one event
        "ZORVE_MOUSE(1-2, --5);\n"
        "\n"
        "ZORVE_KBD(66)");  // no line end: not played
    playback_start();
    EventRecord e;
    EXPECT_EQ(wait(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, 3);
    EXPECT_EQ(e.y, -4);
    EXPECT_EQ(wait(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 5);
    EXPECT_EQ(wait(&e), ZORVE_PERIODIC);
    EXPECT_EQ(wait(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, 1);
    EXPECT_EQ(e.y, 0);
    click_at(0, 0);
    EXPECT_EQ(wait(&e), ZORVE_MOUSE);
    EXPECT_EQ(lines(), (Lines{"EOF encountered in script file ZORVE.SCR\n"}));
}

TEST_F(Script, UnknownAndMalformedLinesEndPlaybackSilently) {
    const char* bad[] = {
        "        \n",                    // spaces
        "ZORVE_QUIT();\n",               // another letter
        "ZORVE\n",                       // too short
        "ZORVE_KBD(123456789012);\n",    // a number longer than its buffer
        "ZORVE_KBD();\n",                // no digits
        "ZORVE_MOUSE(5);\n",             // one number where two are needed
        "ZORVE_PERIODIC(-);\n",
    };
    for (const char* line : bad) {
        write_script(std::string(line) + "ZORVE_KBD(65);\n");
        playback_start();
        click_at(1, 2);
        EventRecord e;
        EXPECT_EQ(wait(&e), ZORVE_MOUSE) << line;
        EXPECT_EQ(zt::snapshot().playing_flag, 0) << line;
        EXPECT_TRUE(playback_checked()) << line;  // the check mark stays
        EXPECT_TRUE(lines().empty()) << line;
        playback_stop();
    }
}

TEST_F(Script, MissingFileIsReportedAndUnchecked) {
    post(WM_COMMAND, MENU_PLAYBACK_SCRIPT, 0);
    click_at(0, 0);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_EQ(lines(), (Lines{"Cannot open script file ZORVE.SCR for reading\n"}));
    EXPECT_FALSE(playback_checked());
    EXPECT_EQ(zt::snapshot().playing_flag, 0);
}

TEST_F(Script, HighKeyCodesComeBackUnchanged) {
    recording_start();
    type_char(200);
    EventRecord e;
    EXPECT_EQ(wait(&e), ZORVE_KBD);
    recording_stop();
    EXPECT_EQ(read_script(), "ZORVE_KBD(200);\n");
    playback_start();
    EXPECT_EQ(wait(&e), ZORVE_KBD);
    EXPECT_EQ(static_cast<unsigned char>(e.key), 200);
}

TEST_F(Script, AQuitDuringPlaybackIsNotLost) {
    write_script("ZORVE_KBD(65);\nZORVE_KBD(66);\nZORVE_KBD(67);\n");
    playback_start();
    post(WM_COMMAND, MENU_QUIT, 0);
    EventRecord e;
    EXPECT_EQ(wait(&e), ZORVE_KBD);  // the pass took the command; the quit is queued
    EXPECT_EQ(e.key, 65);
    EXPECT_EQ(wait(&e), ZORVE_QUIT);  // taken in a pass that playback would have filled
    EXPECT_EQ(wait(&e), ZORVE_KBD);   // the scripted event came one wait later
    EXPECT_EQ(e.key, 66);
    post(WM_SYSCOMMAND, SC_CLOSE, 0);  // closing the window during playback
    EXPECT_EQ(wait(&e), ZORVE_KBD);
    EXPECT_EQ(wait(&e), ZORVE_QUIT);
    EXPECT_FALSE(IsWindow(zt::snapshot().graphics_window));
}

TEST_F(Script, ARecordingAfterPlaybackEndedWritesAFreshFile) {
    write_script("ZORVE_KBD(65);\n");
    playback_start();
    EXPECT_EQ(wait(), ZORVE_KBD);
    click_at(0, 0);
    EXPECT_EQ(wait(), ZORVE_MOUSE);  // end of the file
    recording_start();
    click_at(4, 5);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    recording_stop();
    EXPECT_EQ(read_script(), "ZORVE_MOUSE(4, 5);\n");
}

TEST_F(Script, RecordingAndPlaybackDoNotShareAStreamSilently) {
    // Play One leaves the file open for its next event; a recording started then
    // closes it and records from the start.
    write_script("ZORVE_KBD(65);\nZORVE_KBD(66);\n");
    play_one_start();
    EXPECT_EQ(wait(), ZORVE_KBD);  // the file is now open for reading
    recording_start();
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_EQ(lines(), Lines{});
    recording_stop();
    EXPECT_EQ(read_script(), "ZORVE_MOUSE(1, 1);\n");

    // While a playback runs, nothing is recorded into the file it reads.
    write_script("ZORVE_KBD(65);\nZORVE_KBD(66);\n");
    playback_start();
    EXPECT_EQ(wait(), ZORVE_KBD);
    recording_start();
    EXPECT_EQ(zt::snapshot().recording_flag, 0);
    EXPECT_EQ(lines(), (Lines{"Cannot record into script file ZORVE.SCR while it is played back\n"}));
    playback_stop();
    EXPECT_EQ(read_script(), "ZORVE_KBD(65);\nZORVE_KBD(66);\n");

    lines().clear();
    recording_start();
    click_at(2, 2);
    EXPECT_EQ(wait(), ZORVE_MOUSE);  // the file is now open for writing
    play_one_start();
    click_at(3, 3);
    EventRecord e;
    EXPECT_EQ(wait(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, 3);
    EXPECT_EQ(lines(), (Lines{"Cannot play back script file ZORVE.SCR while it is recorded\n"}));
    recording_stop();
    EXPECT_EQ(read_script(), "ZORVE_MOUSE(2, 2);\nZORVE_MOUSE(3, 3);\n");
}

TEST_F(Script, StartingPlaybackHaltsTheAnimation) {
    write_script("ZORVE_KBD(65);\n");
    ZORVE_set_animation(ANIMATE_RUN);
    ZORVE_set_animation(ANIMATE_STEP);
    playback_start();
    const zt::Snapshot s = zt::snapshot();
    EXPECT_EQ(s.run_flag + s.step_flag, 0);
    ZORVE_set_animation(ANIMATE_RUN);
    play_one_start();
    EXPECT_EQ(zt::snapshot().run_flag, 0);
}

}  // namespace

namespace {

bool recording_checked() {
    return (GetMenuState(zt::snapshot().run_menu, MENU_RECORD_SCRIPT, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// Recording and playback share one file and cannot run together: each is refused while
// the other runs, with a message, and nothing loops (a periodic line of 5 used to play
// forever, the recorder adding back each event the reader took off a shared counter).
TEST_F(Script, PlaybackAndRecordingRefuseEachOther) {
    write_script("ZORVE_PERIODIC(5);\nZORVE_KBD(65);\n");
    post(WM_COMMAND, MENU_RECORD_SCRIPT, 0);
    post(WM_COMMAND, MENU_PLAYBACK_SCRIPT, 0);
    click_at(5, 6);
    std::vector<int> kinds;
    for (int i = 0; i < 3 && (kinds.empty() || kinds.back() != ZORVE_MOUSE); ++i) kinds.push_back(wait());
    EXPECT_EQ(kinds, std::vector<int>{ZORVE_MOUSE}) << "nothing is played while recording";
    EXPECT_FALSE(playback_checked());
    EXPECT_TRUE(recording_checked());
    EXPECT_EQ(lines(), (Lines{"Cannot play back script file ZORVE.SCR while it is recorded\n"}));
    EXPECT_TRUE(IsWindowVisible(zt::snapshot().console_window)) << "a script message shows the console";
    recording_stop();
    EXPECT_EQ(read_script(), "ZORVE_MOUSE(5, 6);\n");

    lines().clear();
    write_script("ZORVE_PERIODIC(5);\nZORVE_KBD(65);\n");
    playback_start();
    EXPECT_EQ(wait(), ZORVE_PERIODIC);
    post(WM_COMMAND, MENU_RECORD_SCRIPT, 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(wait(), ZORVE_PERIODIC);
    EXPECT_EQ(wait(), ZORVE_KBD);
    EXPECT_FALSE(recording_checked());
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE) << "the script ended after its six events";
    EXPECT_EQ(lines(), (Lines{"Cannot record into script file ZORVE.SCR while it is played back\n",
                              "EOF encountered in script file ZORVE.SCR\n"}));
}

TEST_F(Script, ProblemsWithTheFileShowTheConsoleAnExpectedEndDoesNot) {
    playback_start();  // no file
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_EQ(lines(), (Lines{"Cannot open script file ZORVE.SCR for reading\n"}));
    EXPECT_TRUE(IsWindowVisible(zt::snapshot().console_window));

    console_show(0);
    write_script("ZORVE_KBD(65);\n");
    playback_start();
    EXPECT_EQ(wait(), ZORVE_KBD);
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_FALSE(IsWindowVisible(zt::snapshot().console_window)) << "a playback that ran to its end";

    write_script("ZORVE_KBD(65);\nZORVE_KBD(66);");  // the last line is cut off
    playback_start();
    EXPECT_EQ(wait(), ZORVE_KBD);
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_TRUE(IsWindowVisible(zt::snapshot().console_window)) << "an event was lost at the end";
}

TEST_F(Script, WindowsLineEndsPlayAsLineEnds) {
    write_script("ZORVE_KBD(65);\r\n\r\n\r\nZORVE_MOUSE(1, -2);\r\nZORVE_PERIODIC(2);\r\n");
    playback_start();
    EventRecord e{};
    EXPECT_EQ(wait(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 65);
    EXPECT_EQ(wait(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.y, -2);
    EXPECT_EQ(wait(), ZORVE_PERIODIC);
    EXPECT_EQ(wait(), ZORVE_PERIODIC);
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_EQ(lines(), (Lines{"EOF encountered in script file ZORVE.SCR\n"}));
}

// A long stretch of blank lines is read a bounded piece per pass of the wait, so that
// the person's own input is not held up behind it.
TEST_F(Script, BlankLinesDoNotHoldUpInput) {
    write_script(std::string(200000, '\n') + "ZORVE_KBD(66);\n");
    playback_start();
    click_at(3, 4);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EventRecord e{};
    EXPECT_EQ(wait(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 66);
}


// Answers to questions: typed into the dialog while recording, they become a line of
// their own at the point they were asked; played back, the dialog takes them.
std::string typed_answer;
void CALLBACK type_answer(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowA(nullptr, "ZORVE_gets");
    if (!dialog) return;
    SetDlgItemTextA(dialog, ID_GETS_EDIT, typed_answer.c_str());
    PostMessageA(GetDlgItem(dialog, ID_GETS_EDIT), WM_KEYDOWN, VK_RETURN, 1);
}

TEST_F(Script, AnswersAreRecordedWhereTheyWereAskedAndPlayedBackIntoTheDialog) {
    recording_start();
    periodic_events(2);
    typed_answer = "say \"hi\" \\ now";
    SetTimer(zt::snapshot().graphics_window, 77, 30, type_answer);
    char answer[256] = {};
    EXPECT_EQ(ZORVE_gets("Your words?", answer), 1);
    KillTimer(zt::snapshot().graphics_window, 77);
    EXPECT_STREQ(answer, "say \"hi\" \\ now");
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    recording_stop();
    EXPECT_EQ(read_script(),
              "ZORVE_PERIODIC(2);\nZORVE_TEXT(\"say \\\"hi\\\" \\\\ now\");\nZORVE_MOUSE(1, 1);\n");

    // Nobody types: the script answers, and the events go on after the answer.
    playback_start();
    EXPECT_EQ(wait(), ZORVE_PERIODIC);
    EXPECT_EQ(wait(), ZORVE_PERIODIC);
    std::memset(answer, '#', sizeof answer);
    EXPECT_EQ(ZORVE_gets("Your words?", answer), 1);
    EXPECT_STREQ(answer, "say \"hi\" \\ now");
    EventRecord e{};
    EXPECT_EQ(wait(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, 1);
    ASSERT_EQ(zt::run_record().dialogs.size(), 2u);
    EXPECT_STREQ(zt::run_record().dialogs[1].source, "script");
    EXPECT_TRUE(lines().empty());
}

TEST_F(Script, AnswerLinesKeepTheirEscapesAndTheAnswerBufferItsSize) {
    // Every escape, and an answer far longer than the 255 characters a dialog returns.
    write_script("ZORVE_TEXT(\"a\\nb\\tc\\\\d\\\"e\");\n"
                 "ZORVE_TEXT(\"" + std::string(600, 'x') + "\");\n");
    playback_start();
    char answer[256];
    EXPECT_EQ(ZORVE_gets("One?", answer), 1);
    EXPECT_STREQ(answer, "a\nb\tc\\d\"e");
    std::memset(answer, '#', sizeof answer);
    EXPECT_EQ(ZORVE_gets("Two?", answer), 1);
    EXPECT_EQ(std::string(answer), std::string(255, 'x'));
}

TEST_F(Script, AnAnswerNobodyAskedForIsSkippedAndABrokenOneEndsPlayback) {
    write_script("ZORVE_TEXT(\"unasked\");\nZORVE_KBD(65);\nZORVE_TEXT(\"no end);\nZORVE_KBD(66);\n");
    playback_start();
    EventRecord e{};
    EXPECT_EQ(wait(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 65);
    EXPECT_EQ(zt::run_record().answers_skipped, 1);
    EXPECT_EQ(lines(), (Lines{"Answer line 1 of script file ZORVE.SCR was not asked for; skipping it\n"}));
    click_at(5, 5);
    EXPECT_EQ(wait(&e), ZORVE_MOUSE) << "the unterminated answer is not understood";
    EXPECT_EQ(zt::snapshot().playing_flag, 0);
    EXPECT_STREQ(zt::run_record().script_stop_why, "not_understood");
    EXPECT_EQ(zt::run_record().script_stop_line, 3);
    EXPECT_EQ(zt::run_record().script_stop_text, "ZORVE_TEXT(\"no end);");
}

TEST_F(Script, AnOverlongLineIsOneLine) {
    // Its rest would read as lines of their own: here a key 66 that is not in the script.
    write_script("ZORVE_MOUSE(1, 2);" + std::string(1500, ' ') + "ZORVE_KBD(66);\nZORVE_KBD(65);\n");
    playback_start();
    EventRecord e{};
    EXPECT_EQ(wait(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.y, 2);
    EXPECT_EQ(wait(&e), ZORVE_KBD);
    EXPECT_EQ(e.key, 65);
    EXPECT_EQ(zt::run_record().script_lines, 2);
}

TEST_F(Script, StoppingTheRuntimeKeepsTheLastPeriodicEventsOfARecording) {
    recording_start();
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    periodic_events(3);
    ZORVE_stop();
    EXPECT_EQ(read_script(), "ZORVE_MOUSE(1, 1);\nZORVE_PERIODIC(3);\n");
}

// Ctrl with the letter S saves a picture; F4, whose key code is the lower-case s, does
// not. F1 to F3 share the codes of p, q and r, the Run menu's own shortcuts.
TEST_F(Script, OnlyCtrlWithTheLetterSSavesAPicture) {
    post(WM_KEYDOWN, VK_CONTROL, 1);
    post(WM_KEYDOWN, VK_F4, 1);
    post(WM_KEYUP, VK_F4, 1);
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_FALSE(fs::exists("ZORVE1.png"));
    post(WM_KEYDOWN, 'S', 1);
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    post(WM_KEYUP, VK_CONTROL, 1);
    EXPECT_TRUE(fs::exists("ZORVE1.png"));
}

// The session (ZORVE_SESSION): the runtime started with it keeps every event since the
// start, in a recording's lines, whole after every event; the Run menu's recording runs
// beside it untouched, and what a playback gives is kept too.
std::string read_text(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void start_with_session(const char* path) {
#ifdef _WIN32
    _putenv_s("ZORVE_SESSION", path);
#else
    setenv("ZORVE_SESSION", path, 1);
#endif
    fixture::start_canvas();
#ifdef _WIN32
    _putenv_s("ZORVE_SESSION", "");
#else
    unsetenv("ZORVE_SESSION");
#endif
}

TEST_F(Script, TheSessionKeepsEveryEventBesideARecording) {
    start_with_session("session.scr");
    click_at(-150, 40);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    periodic_events(2);
    EXPECT_EQ(read_text("session.scr"), "ZORVE_MOUSE(-150, 40);\nZORVE_PERIODIC(2);\n");
    periodic_events(10);
    post(WM_COMMAND, MENU_RECORD_SCRIPT, 0);
    type_char('a');
    EXPECT_EQ(wait(), ZORVE_KBD);
    post(WM_COMMAND, MENU_RECORD_SCRIPT, 0);
    click_at(3, 4);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_EQ(read_script(), "ZORVE_KBD(97);\n");
    playback_start();  // ZORVE.SCR again: its event is played, and kept
    EXPECT_EQ(wait(), ZORVE_KBD);
    click_at(5, 6);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_EQ(read_text("session.scr"),
              "ZORVE_MOUSE(-150, 40);\nZORVE_PERIODIC(12);\nZORVE_KBD(97);\nZORVE_MOUSE(3, 4);\nZORVE_KBD(97);\n"
              "ZORVE_MOUSE(5, 6);\n");
    ZORVE_stop();
}

// Past 64 KB the session is dropped whole, not cut: a cut one would rebuild another card.
TEST_F(Script, ASessionTooLongIsNoLongerKept) {
    std::string many;
    for (int i = 0; i < 4000; ++i) many += "ZORVE_MOUSE(" + std::to_string(i % 200) + ", 1);\n";
    write_script(many);
    start_with_session("session.scr");
    playback_start();
    for (int i = 0; i < 4000; ++i) ASSERT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_FALSE(fs::exists("session.scr"));
    EXPECT_EQ(lines(), Lines{"The session is longer than 64 KB: it is no longer kept\n"});
    ZORVE_stop();
}

// Ctrl with the letter G saves an animation of the next 30 ticks; the keypad's 7, whose
// key code is the lower-case g, does not. Neither is an event: a recording holds the
// clicks around them only.
TEST_F(Script, OnlyCtrlWithTheLetterGSavesAnAnimation) {
    post(WM_COMMAND, MENU_RECORD_SCRIPT, 0);
    const WPARAM keypad_7 = 0x67;
    post(WM_KEYDOWN, VK_CONTROL, 1);
    post(WM_KEYDOWN, keypad_7, 1);
    post(WM_KEYUP, keypad_7, 1);
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_TRUE(lines().empty());
    post(WM_KEYDOWN, 'G', 1);
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    post(WM_KEYUP, VK_CONTROL, 1);
    post(WM_COMMAND, MENU_RECORD_SCRIPT, 0);
    click_at(2, 2);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_EQ(read_script(), "ZORVE_MOUSE(1, 1);\nZORVE_MOUSE(1, 1);\n");
    EXPECT_EQ(lines(), Lines{"Collecting 30 frames for ZORVE1.gif\n"});
    periodic_events(30);
    EXPECT_EQ(lines().back(), "Animation saved as ZORVE1.gif\n");
    EXPECT_TRUE(fs::exists("ZORVE1.gif"));
}

// A name cannot forge console lines: its control characters show escaped, and a name
// too long for a line is shortened in the middle so that the reason still shows.
TEST_F(Script, NamesInMessagesCannotBreakOrOverflowTheirLine) {
    zt::set_playback_file("no\nEOF encountered in script file ZORVE.SCR");
    playback_start();
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    EXPECT_EQ(lines(), (Lines{"Cannot open script file no\\nEOF encountered in script file ZORVE.SCR for reading\n"}));

    lines().clear();
    const std::string long_name = "start-" + std::string(3000, 'n') + "-end.scr";
    zt::set_playback_file(long_name.c_str());
    playback_start();
    click_at(1, 1);
    EXPECT_EQ(wait(), ZORVE_MOUSE);
    ASSERT_EQ(lines().size(), 1u);
    const std::string& line = lines()[0];
    EXPECT_LT(line.size(), 1023u);
    EXPECT_EQ(line.rfind("Cannot open script file start-nnn", 0), 0u) << line;
    EXPECT_NE(line.find("...nnn"), std::string::npos) << line;
    EXPECT_EQ(line.substr(line.size() - 25), "nnnn-end.scr for reading\n") << line;
}

// The extra input is recorded line by line, each kind with a seventh character of its
// own, and plays back into ZORVE_wait_input; a plain wait skips those lines.
TEST_F(Script, TheExtraInputIsRecordedAndPlayedBack) {
    const auto at = [](int x, int y) {
        const zt::Snapshot s = zt::snapshot();
        return MAKELPARAM(static_cast<WORD>(s.origin_x + x), static_cast<WORD>(s.origin_y - y));
    };
    recording_start();
    post(WM_LBUTTONDOWN, MK_LBUTTON, at(-10, 20));
    post(WM_MOUSEMOVE, MK_LBUTTON, at(-5, 25));
    post(WM_LBUTTONUP, 0, at(0, 30));
    post(WM_MBUTTONDOWN, MK_MBUTTON, at(7, -8));
    post(WM_KEYDOWN, VK_HOME, 1);
    post(WM_KEYUP, VK_HOME, 0xC0000001);
    const int kinds[] = {ZORVE_MOUSE, ZORVE_MOTION, ZORVE_RELEASE, ZORVE_MOUSE, ZORVE_KEY, ZORVE_KEY_RELEASE};
    for (int kind : kinds) ASSERT_EQ(ZORVE_wait_input(nullptr), kind);
    periodic_events(2);
    recording_stop();
    const std::string recorded =
        "ZORVE_MOUSE(-10, 20);\nZORVE_XY(-5, 25, 1);\nZORVE_UP(0, 30, 1);\nZORVE_BUTTON(7, -8, 3);\n"
        "ZORVE_SPECIAL(260);\nZORVE_LIFT(260);\nZORVE_PERIODIC(2);\n";
    EXPECT_EQ(read_script(), recorded);

    playback_start();
    ZorveInput in{};
    for (int kind : kinds) ASSERT_EQ(ZORVE_wait_input(&in), kind);
    EXPECT_EQ(in.key, ZORVE_KEY_HOME);
    ZORVE_wait_input(&in);
    EXPECT_EQ(in.kind, ZORVE_PERIODIC);

    // The plain wait, from the start: the click and the periodic events, nothing else.
    playback_stop();
    playback_start();
    EventRecord e{};
    EXPECT_EQ(wait(&e), ZORVE_MOUSE);
    EXPECT_EQ(e.x, -10);
    EXPECT_EQ(wait(), ZORVE_PERIODIC);
    EXPECT_EQ(wait(), ZORVE_PERIODIC);
    EXPECT_EQ(zt::run_record().newer_skipped, 5);
}

}  // namespace
