// zorve-run on programs that each end their run one way: its exit code, its summary
// line, and the run report the runtime wrote, as a grader would read them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#include "tools/picture_compare.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Outcome {
    int code = -1;
    std::string output;  // zorve-run's own: the summary line and the details
    json report;
};

class ZorveRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("zorve-run-test-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::string file(const std::string& name, const std::string& content) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    std::string path(const std::string& name) { return (folder / name).string(); }

    // zorve-run OPTIONS -- graded MODE, with the report kept to read.
    Outcome run(const std::string& options, const std::string& mode) {
        const std::string report = path("report.json");
        fs::remove(report);
        const std::string command = std::string(ZORVE_RUN) + " --report '" + report + "' " + options + " -- " +
                                    GRADED + " " + mode + " 2>&1";
        Outcome r;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[512];
        while (pipe && std::fgets(buffer, sizeof buffer, pipe)) r.output += buffer;
        const int status = pipe ? pclose(pipe) : -1;
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (std::ifstream in(report); in) r.report = json::parse(in, nullptr, false);
        return r;
    }

    fs::path folder;
};

const char* const CLICKS = "ZORVE_MOUSE(-100, 50);\nZORVE_PERIODIC(3);\nZORVE_MOUSE(120, -80);\n";

TEST_F(ZorveRun, APictureThatMatchesPassesAndOneThatDiffersShowsWhere) {
    const std::string script = file("clicks.scr", CLICKS);
    Outcome made = run("--script " + script + " --picture " + path("reference.png"), "click");
    ASSERT_EQ(made.code, 0) << made.output;
    EXPECT_EQ(made.output.rfind("PASS: ", 0), 0u) << made.output;
    EXPECT_EQ(made.report["end"], "script_end");
    EXPECT_EQ(made.report["events"]["mouse"], 2);
    EXPECT_EQ(made.report["script"]["events_played"], 5);
    EXPECT_EQ(made.report["picture"]["written"], true);
    EXPECT_EQ(made.report["console"]["last"][0], "mode click");

    Outcome same = run("--script " + script + " --expect " + path("reference.png"), "click");
    EXPECT_EQ(same.code, 0) << same.output;

    // One circle elsewhere: two discs of radius 20 differ, and the diff marks exactly
    // those pixels in red.
    const std::string moved = file("moved.scr", "ZORVE_MOUSE(-100, 50);\nZORVE_MOUSE(0, 0);\n");
    Outcome differs = run("--script " + moved + " --expect " + path("reference.png") + " --diff " + path("diff.png"), "click");
    EXPECT_EQ(differs.code, 1) << differs.output;
    long long said = 0;
    ASSERT_EQ(std::sscanf(differs.output.c_str(), "DIFFERS: %*s %lld pixels differ", &said), 1) << differs.output;
    Picture diff;
    std::string why;
    ASSERT_TRUE(read_picture(path("diff.png"), &diff, &why)) << why;
    long long red = 0;
    for (uint32_t p : diff.pixels) red += p == 0xFF0000;
    EXPECT_EQ(red, said);
    EXPECT_GT(said, 2 * 1200);  // two discs of about 1257 pixels each
    EXPECT_EQ(diff.pixels[size_t(248 - 0) * size_t(diff.width) + 297], 0xFF0000u);  // the centre

    Outcome tolerated = run("--script " + moved + " --expect " + path("reference.png") + " --tolerance " +
                            std::to_string(said), "click");
    EXPECT_EQ(tolerated.code, 0) << tolerated.output;
}

TEST_F(ZorveRun, ARunThatCannotBeTrustedSaysWhy) {
    Outcome typo = run("--script " + file("typo.scr", "ZORVE_MOUSE(1, 2);\nZORV_MOUSE(3, 4);\nZORVE_MOUSE(5, 6);\n"), "click");
    EXPECT_EQ(typo.code, 2) << typo.output;
    EXPECT_NE(typo.output.find("script line 2 is not understood: \"ZORV_MOUSE(3, 4);\""), std::string::npos)
        << typo.output;
    EXPECT_EQ(typo.report["script"]["stopped_because"], "not_understood");
    EXPECT_EQ(typo.report["script"]["stopped_at_line"], 2);

    Outcome missing = run("--script " + path("nosuch.scr"), "click");
    EXPECT_EQ(missing.code, 2) << missing.output;
    EXPECT_EQ(missing.report["script"]["stopped_because"], "cannot_open");
    EXPECT_EQ(missing.report["problems"][0], "Cannot open script file " + path("nosuch.scr") + " for reading");

    Outcome unanswered = run("--script " + file("plain.scr", CLICKS), "ask");
    EXPECT_EQ(unanswered.code, 2) << unanswered.output;
    EXPECT_EQ(unanswered.report["dialogs"][0]["prompt"], "How many?");
    EXPECT_EQ(unanswered.report["dialogs"][0]["source"], "none");

    Outcome answered = run("--script " + file("answer.scr", std::string("ZORVE_TEXT(\"12\");\n") + CLICKS), "ask");
    EXPECT_EQ(answered.code, 0) << answered.output;
    EXPECT_EQ(answered.report["dialogs"][0]["answer"], "12");
    EXPECT_EQ(answered.report["dialogs"][0]["source"], "script");

    // The program ends before the script is played through.
    Outcome early = run("--script " + file("long.scr", std::string(CLICKS) + "ZORVE_KBD(113);\nZORVE_MOUSE(1, 1);\nZORVE_PERIODIC(4);\n"),
                    "click");
    EXPECT_EQ(early.code, 2) << early.output;
    EXPECT_EQ(early.report["script"]["events_left"], 5);
    EXPECT_NE(early.output.find("5 events of the script were not played"), std::string::npos) << early.output;

    Outcome never = run("", "never");
    EXPECT_EQ(never.code, 2) << never.output;
    EXPECT_NE(never.output.find("never started the runtime"), std::string::npos) << never.output;

    Outcome unwritten = run("--picture " + path("no/such/folder/picture.png"), "click");
    EXPECT_EQ(unwritten.code, 2) << unwritten.output;
    EXPECT_EQ(unwritten.report["picture"]["written"], false);
    EXPECT_NE(unwritten.output.find("the picture was not written: Cannot save picture"), std::string::npos)
        << unwritten.output;
}

TEST_F(ZorveRun, ACrashAnExitAndATimeoutAreToldApart) {
    Outcome segv = run("", "segv");
    EXPECT_EQ(segv.code, 3) << segv.output;
    EXPECT_NE(segv.output.find("killed by signal 11"), std::string::npos) << segv.output;

    Outcome exit7 = run("", "exit7");
    EXPECT_EQ(exit7.code, 3) << exit7.output;
    EXPECT_NE(exit7.output.find("exited with status 7"), std::string::npos) << exit7.output;
    EXPECT_EQ(exit7.report["end"], "exit") << "the report is written however the run ends";
    EXPECT_EQ(exit7.report["stopped"], false);

    Outcome spin = run("--timeout 1", "spin");
    EXPECT_EQ(spin.code, 4) << spin.output;
    EXPECT_EQ(spin.output.rfind("TIMEOUT: ", 0), 0u) << spin.output;
}

TEST_F(ZorveRun, RunsEndWithoutStopOrWithoutScriptStillLeaveTheirPicture) {
    Outcome nostop = run("--script " + file("clicks.scr", CLICKS) + " --picture " + path("nostop.png"), "nostop");
    EXPECT_EQ(nostop.code, 0) << nostop.output;
    EXPECT_EQ(nostop.report["stopped"], false);
    EXPECT_EQ(nostop.report["picture"]["written"], true);
    Picture picture;
    std::string why;
    ASSERT_TRUE(read_picture(path("nostop.png"), &picture, &why)) << why;
    EXPECT_EQ(picture.pixels[size_t(248 - 50) * size_t(picture.width) + 297 - 100], 0xFF0000u);  // the first circle

    // An animation with no script and nothing to end it: the run's bound does.
    Outcome animated = run("", "animate");
    EXPECT_EQ(animated.code, 0) << animated.output;
    EXPECT_EQ(animated.report["end"], "time_limit");
    EXPECT_EQ(animated.report["virtual_ms"], 10 * 60 * 1000);

    // ZORVE_TICKS: that many ticks past the end of the script.
    Outcome ticks = run("--ticks 25 --script " + file("one.scr", "ZORVE_MOUSE(1, 1);\n"), "animate");
    EXPECT_EQ(ticks.code, 0) << ticks.output;
    EXPECT_EQ(ticks.report["end"], "tick_limit");
    EXPECT_EQ(ticks.report["ticks"], 25);
}

// The report is written as pictures are: nothing planted beside it is written through,
// and only a plain file is replaced.
TEST_F(ZorveRun, TheReportIsWrittenThroughNoLinkAndReplacesOnlyAPlainFile) {
    const std::string victim = file("thesis.txt", "a year of work\n");
    const std::string report = path("planted.json");
    fs::create_symlink(victim, report + ".partial");
    const std::string direct = "ZORVE_HEADLESS=1 ZORVE_REPORT='" + report + "' " + GRADED + " click 2>&1 >/dev/null";
    ASSERT_EQ(std::system(direct.c_str()), 0);
    std::ifstream kept(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "a year of work\n");
    std::ifstream written(report);
    EXPECT_FALSE(json::parse(written, nullptr, false).is_discarded());

    const std::string folder_report = path("a folder");
    fs::create_directories(folder_report);
    std::string said;
    const std::string refused = "ZORVE_HEADLESS=1 ZORVE_REPORT='" + folder_report + "' " + GRADED + " click 2>&1 >/dev/null";
    FILE* pipe = popen(refused.c_str(), "r");
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) said += buffer;
    if (pipe) pclose(pipe);
    EXPECT_NE(said.find("Cannot write run report " + folder_report + ": is a folder"), std::string::npos) << said;
    EXPECT_TRUE(fs::is_directory(folder_report));
}

TEST_F(ZorveRun, BadInputToZorveRunItselfIsOneLineAndCodeTwo) {
    Outcome nothing = run("--expect " + file("bad.png", "not a picture"), "click");
    EXPECT_EQ(nothing.code, 2);
    EXPECT_EQ(nothing.output.rfind("zorve-run: cannot read the expected picture", 0), 0u) << nothing.output;

    const std::string small = path("small.png");
    Outcome made = run("--picture " + small, "click");
    ASSERT_EQ(made.code, 0) << made.output;
    // A reference of another size: the run's own picture cut to a strip.
    Picture p;
    std::string why;
    ASSERT_TRUE(read_picture(small, &p, &why));
    p.height = 10;
    p.pixels.resize(size_t(p.width) * 10);
    ASSERT_TRUE(write_diff(p, p, path("strip.png"), &why));
    Outcome sizes = run("--expect " + path("strip.png"), "click");
    EXPECT_EQ(sizes.code, 2);
    EXPECT_NE(sizes.output.find("differ in size"), std::string::npos) << sizes.output;

    const std::string command = std::string(ZORVE_RUN) + " --script 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system((command + " >/dev/null").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((std::string(ZORVE_RUN) + " /no/such/program >/dev/null 2>&1").c_str())), 2);
}

}  // namespace
