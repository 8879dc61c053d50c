// Which presenter a program runs on: the first of its list that can run, what the person
// is told when one cannot, how ZORVE_HEADLESS is read, and that a program linked with
// the headless presenter alone is a run without a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/display/presenters.h"
#include "runtime_fixture.h"

namespace {

using zp::Availability;
using zp::PresenterChoice;

// Presenters that are only chosen, never run.
zp::Presenter named(const char* name) {
    return {name, true, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
}
const zp::Presenter SCREEN = named("screen"), PAPER = named("paper"), NOWHERE = named("nowhere");

Availability runs(std::string*) { return Availability::AVAILABLE; }
Availability not_asked(std::string* why) {
    *why = "only when asked";
    return Availability::NOT_ASKED;
}
Availability no_screen(std::string* why) {
    *why = "cannot open display: :9";
    return Availability::CANNOT_RUN;
}

TEST(PresenterChoice, TakesTheFirstThatCanRunAndTellsOnlyOfProblems) {
    std::string said;
    const PresenterChoice quiet[] = {{&NOWHERE, not_asked}, {&SCREEN, runs}, {&PAPER, runs}};
    EXPECT_EQ(zp::choose_presenter(quiet, 3, &said), &SCREEN);
    EXPECT_EQ(said, "") << "a normal run says nothing";

    const PresenterChoice after_problem[] = {{&SCREEN, no_screen}, {&PAPER, runs}};
    EXPECT_EQ(zp::choose_presenter(after_problem, 2, &said), &PAPER);
    EXPECT_EQ(said, "cannot open display: :9 (presenter screen refused)\n"
                    "zorve: presenter paper chosen\n");

    said.clear();
    const PresenterChoice none[] = {{&NOWHERE, not_asked}, {&SCREEN, no_screen}};
    EXPECT_EQ(zp::choose_presenter(none, 2, &said), nullptr);
    EXPECT_EQ(said, "cannot open display: :9 (presenter screen refused)\n"
                    "zorve: no presenter can run this program here (nowhere: only when asked)\n");
}

TEST(PresenterChoice, ZorveHeadlessAsPeopleWriteIt) {
    const char* before = std::getenv("ZORVE_HEADLESS");
    const std::string kept = before ? before : "";
    std::string why;
    for (const char* yes : {"1", "yes", "TRUE", "On"}) {
        setenv("ZORVE_HEADLESS", yes, 1);
        EXPECT_EQ(zp::headless_when_asked(&why), Availability::AVAILABLE) << yes;
    }
    for (const char* no : {"", "0", "No", "false", "OFF"}) {
        setenv("ZORVE_HEADLESS", no, 1);
        EXPECT_EQ(zp::headless_when_asked(&why), Availability::NOT_ASKED) << no;
    }
    unsetenv("ZORVE_HEADLESS");
    EXPECT_EQ(zp::headless_when_asked(&why), Availability::NOT_ASKED);
    EXPECT_EQ(why, "only when ZORVE_HEADLESS=1 asks for it");
    setenv("ZORVE_HEADLESS", "2", 1);
    EXPECT_EQ(zp::headless_when_asked(&why), Availability::CANNOT_RUN);
    EXPECT_EQ(why, "ZORVE_HEADLESS=2 is neither 1, yes, true, on nor 0, no, false, off");
    if (before)
        setenv("ZORVE_HEADLESS", kept.c_str(), 1);
    else
        unsetenv("ZORVE_HEADLESS");
}

// These tests link the headless presenter alone: whatever the environment says, nobody
// sees the windows, so console lines also go to standard output.
TEST(PresenterChoice, AProgramWithTheHeadlessPresenterAloneRunsWithoutADisplay) {
    unsetenv("ZORVE_HEADLESS");
    fixture::start_runtime();
    USEROBJECTFLAGS station = {};
    DWORD needed = 0;
    ASSERT_TRUE(GetUserObjectInformationA(GetProcessWindowStation(), UOI_FLAGS, &station, sizeof station,
                                          &needed));
    EXPECT_EQ(needed, sizeof station);
    EXPECT_EQ(station.dwFlags & WSF_VISIBLE, 0u);
    testing::internal::CaptureStdout();
    ZORVE_console_printf("Be Mine %d", 14);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Be Mine 14\n");
}

}  // namespace
