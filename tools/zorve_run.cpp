// zorve-run: runs a program on the ZORVE runtime headless, judges the run from its run
// report and its picture, and says so in one line and an exit code that a shell loop
// can count. It knows the runtime only through the report (ZORVE_REPORT) and the
// pictures; the program is a separate process in a process group of its own.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "picture_compare.h"

namespace {

using nlohmann::json;

enum Verdict { PASS = 0, DIFFERS = 1, UNTRUSTED = 2, CRASHED = 3, TIMEOUT = 4 };
const char* const VERDICT_WORDS[] = {"PASS", "DIFFERS", "UNTRUSTED", "CRASHED", "TIMEOUT"};

const char* const USAGE =
    "usage: zorve-run [--script FILE] [--picture OUT.png] [--expect REF.png] [--diff DIFF.png]\n"
    "                 [--tolerance PIXELS] [--ticks N] [--timeout SECONDS] [--report OUT.json]\n"
    "                 [--quiet] [--] PROGRAM [ARGUMENTS...]\n"
    "Runs PROGRAM headless and judges the run. Exit codes: 0 ran to its end and the picture\n"
    "matches (or nothing was expected); 1 the picture differs; 2 the run is not to be trusted;\n"
    "3 the program crashed or exited non-zero; 4 the timeout killed it.\n";

struct Options {
    std::string script, picture, expect, diff, report;
    long long tolerance = 0;
    long long ticks = -1;
    double timeout_s = 60;
    bool quiet = false;
    std::vector<std::string> command;
};

// The judgement: a verdict, its one-line reason, and the details a person needs.
struct Judgement {
    Verdict verdict = PASS;
    std::string reason;
    std::vector<std::string> details;
};

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "zorve-run: %s\n", why.c_str());
    std::exit(UNTRUSTED);
}

bool number(const char* text, long long* value) {
    char* end = nullptr;
    errno = 0;
    *value = std::strtoll(text, &end, 10);
    return *text && *end == '\0' && errno == 0 && *value >= 0;
}

Options parse_options(int argc, char** argv) {
    Options o;
    int i = 1;
    const auto value = [&](const char* option) -> const char* {
        if (i + 1 >= argc) fail(std::string(option) + " needs a value");
        return argv[++i];
    };
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        long long n = 0;
        if (a == "--") {
            ++i;
            break;
        } else if (a == "--help" || a == "-h") {
            std::fputs(USAGE, stdout);
            std::exit(0);
        } else if (a == "--version") {
            std::printf("zorve-run %s\n", ZORVE_VERSION);
            std::exit(0);
        } else if (a == "--script") {
            o.script = value("--script");
        } else if (a == "--picture") {
            o.picture = value("--picture");
        } else if (a == "--expect") {
            o.expect = value("--expect");
        } else if (a == "--diff") {
            o.diff = value("--diff");
        } else if (a == "--report") {
            o.report = value("--report");
        } else if (a == "--tolerance") {
            if (!number(value("--tolerance"), &o.tolerance)) fail("--tolerance takes a number of pixels");
        } else if (a == "--ticks") {
            if (!number(value("--ticks"), &o.ticks)) fail("--ticks takes a number of ticks");
        } else if (a == "--timeout") {
            if (!number(value("--timeout"), &n) || n == 0) fail("--timeout takes a number of seconds");
            o.timeout_s = double(n);
        } else if (a == "--quiet") {
            o.quiet = true;
        } else if (a.size() > 1 && a[0] == '-') {
            fail("unknown option " + a + "\n" + USAGE);
        } else {
            break;
        }
    }
    for (; i < argc; ++i) o.command.emplace_back(argv[i]);
    if (o.command.empty()) fail(std::string("no program to run\n") + USAGE);
    if (!o.diff.empty() && o.expect.empty()) fail("--diff needs --expect");
    return o;
}

// ---- running the program -------------------------------------------------------------

struct Ended {
    bool timed_out = false;
    int status = 0;  // as waitpid reports it
};

double seconds_since(const timespec& start) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec - start.tv_sec) + double(now.tv_nsec - start.tv_nsec) / 1e9;
}

// Starts the program in a process group of its own, its output in `output`, and waits
// for it until the timeout, when the whole group is killed.
Ended run(const Options& o, const std::vector<std::pair<std::string, std::string>>& environment,
          const std::string& output) {
    sigset_t child_signal, previous;
    sigemptyset(&child_signal);
    sigaddset(&child_signal, SIGCHLD);
    sigprocmask(SIG_BLOCK, &child_signal, &previous);
    int failure[2];  // the child's reason when it cannot start the program
    if (pipe2(failure, O_CLOEXEC) != 0) fail(std::string("cannot run: ") + std::strerror(errno));
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = fork();
    if (child < 0) fail(std::string("cannot run: ") + std::strerror(errno));
    if (child == 0) {
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        setpgid(0, 0);
        for (const auto& [name, value] : environment) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        if (in >= 0) dup2(in, 0);
        std::vector<char*> args;
        for (const std::string& a : o.command) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        const int error = errno;
        if (write(failure[1], &error, sizeof error) < 0) _exit(127);
        _exit(127);
    }
    setpgid(child, child);  // also here: the group exists whichever runs first
    close(failure[1]);
    int error = 0;
    const bool exec_failed = read(failure[0], &error, sizeof error) == sizeof error;
    close(failure[0]);
    Ended ended;
    if (exec_failed) {
        waitpid(child, &ended.status, 0);
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        fail("cannot run " + o.command[0] + ": " + std::strerror(error));
    }
    for (;;) {
        const pid_t done = waitpid(child, &ended.status, WNOHANG);
        if (done == child) break;
        const double left = o.timeout_s - seconds_since(start);
        if (left <= 0) {
            kill(-child, SIGKILL);
            waitpid(child, &ended.status, 0);
            ended.timed_out = true;
            break;
        }
        timespec wait_for;
        wait_for.tv_sec = static_cast<time_t>(left);
        wait_for.tv_nsec = static_cast<long>((left - double(wait_for.tv_sec)) * 1e9);
        sigtimedwait(&child_signal, nullptr, &wait_for);
    }
    kill(-child, SIGKILL);  // whatever it started and left behind
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return ended;
}

// ---- judging the run -----------------------------------------------------------------

std::string text_of(const json& value) { return value.is_string() ? value.get<std::string>() : std::string(); }
long long count_of(const json& value) { return value.is_number_integer() ? value.get<long long>() : 0; }

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// What the report says against trusting the run, first problem first.
std::vector<std::string> distrust(const json& report, const Options& o) {
    std::vector<std::string> reasons;
    if (!report.value("started", false)) reasons.push_back("the program never started the runtime");
    const json& script = report.contains("script") ? report["script"] : json();
    if (script.is_object()) {
        const std::string why = text_of(script["stopped_because"]);
        const std::string where = "line " + std::to_string(count_of(script["stopped_at_line"]));
        if (why == "cannot_open")
            reasons.push_back("the script " + text_of(script["file"]) + " cannot be opened");
        else if (why == "cannot_read")
            reasons.push_back("the script " + text_of(script["file"]) + " cannot be read at " + where);
        else if (why == "not_understood")
            reasons.push_back("script " + where + " is not understood: " + quoted(text_of(script["stopped_line_text"])));
        if (const long long left = count_of(script["events_left"]); left > 0)
            reasons.push_back(std::to_string(left) + " events of the script were not played (the run ended at " +
                              where + ")");
    } else if (!o.script.empty()) {
        reasons.push_back("the runtime did not play the script");
    }
    if (report.contains("dialogs") && report["dialogs"].is_array())
        for (const json& d : report["dialogs"])
            if (text_of(d["source"]) == "none")
                reasons.push_back("the question " + quoted(text_of(d["prompt"])) + " has no answer in the script");
    if (count_of(report["dialogs_unanswered"]) > 0 && reasons.empty())
        reasons.push_back("a question has no answer in the script");
    if (!o.picture.empty() || !o.expect.empty()) {
        const json& picture = report.contains("picture") ? report["picture"] : json();
        if (!picture.is_object())
            reasons.push_back("the runtime was not asked for the picture");
        else if (!picture.value("written", false))
            reasons.push_back("the picture was not written: " + text_of(picture["why_not"]));
    }
    return reasons;
}

void add_report_details(const json& report, Judgement* j) {
    j->details.push_back("run ended: " + text_of(report["end"]) + (report.value("stopped", false) ? "" : ", without ZORVE_stop") +
                         ", after " + std::to_string(count_of(report["ticks"])) + " ticks");
    const json& script = report.contains("script") ? report["script"] : json();
    if (script.is_object()) {
        std::string line = "script " + text_of(script["file"]) + ": " + std::to_string(count_of(script["events_played"])) +
                           " events played; stopped at line " + std::to_string(count_of(script["stopped_at_line"])) +
                           " (" + text_of(script["stopped_because"]) + ")";
        if (const std::string text = text_of(script["stopped_line_text"]); !text.empty()) line += ": " + quoted(text);
        j->details.push_back(line);
        if (const long long skipped = count_of(script["answers_skipped"]); skipped > 0)
            j->details.push_back(std::to_string(skipped) + " answers of the script were not asked for");
    }
    if (report.contains("problems") && report["problems"].is_array() && !report["problems"].empty())
        j->details.push_back("first problem: " + text_of(report["problems"][0]));
    const json& console = report.contains("console") ? report["console"] : json();
    if (console.is_object() && console["last"].is_array() && !console["last"].empty()) {
        const json& last = console["last"];
        const size_t shown = last.size() < 5 ? last.size() : 5;
        j->details.push_back("last console lines:");
        for (size_t k = last.size() - shown; k < last.size(); ++k) j->details.push_back("  " + text_of(last[k]));
    }
}

std::string signal_name(int signal) {
    const char* name = strsignal(signal);
    return "signal " + std::to_string(signal) + (name ? " (" + std::string(name) + ")" : "");
}

std::string last_output_lines(const std::string& path, size_t count) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::string tail;
    for (size_t k = lines.size() > count ? lines.size() - count : 0; k < lines.size(); ++k) tail += "  " + lines[k] + "\n";
    return tail;
}

Judgement judge(const Options& o, const Ended& ended, const Picture& expected, const std::string& report_path,
                const std::string& picture_path, const std::string& output_path) {
    Judgement j;
    json report;
    bool have_report = false;
    if (std::ifstream in(report_path); in) {
        try {
            report = json::parse(in);
            have_report = report.is_object();
        } catch (const json::exception& e) {
            j.details.push_back(std::string("the run report cannot be read: ") + e.what());
        }
    }
    if (have_report) add_report_details(report, &j);

    if (ended.timed_out) {
        j.verdict = TIMEOUT;
        std::ostringstream s;
        s << "killed after " << o.timeout_s << " s";
        j.reason = s.str();
        return j;
    }
    if (WIFSIGNALED(ended.status)) {
        j.verdict = CRASHED;
        j.reason = "killed by " + signal_name(WTERMSIG(ended.status));
    } else if (WIFEXITED(ended.status) && WEXITSTATUS(ended.status) != 0) {
        j.verdict = CRASHED;
        j.reason = "exited with status " + std::to_string(WEXITSTATUS(ended.status));
    }
    if (j.verdict == CRASHED) {
        if (const std::string tail = last_output_lines(output_path, 5); !tail.empty())
            j.details.push_back("last output:\n" + tail.substr(0, tail.size() - 1));
        return j;
    }
    if (!have_report) {
        j.verdict = UNTRUSTED;
        j.reason = "the program never started the runtime (no run report)";
        return j;
    }
    const std::vector<std::string> reasons = distrust(report, o);
    if (!reasons.empty()) {
        j.verdict = UNTRUSTED;
        j.reason = reasons[0];
        for (size_t k = 1; k < reasons.size(); ++k) j.details.push_back("also: " + reasons[k]);
        return j;
    }
    if (o.expect.empty()) {
        j.reason = "ran to its end (" + text_of(report["end"]) + ")";
        return j;
    }
    Picture actual;
    std::string why;
    if (!read_picture(picture_path, &actual, &why)) fail("cannot read the picture " + picture_path + ": " + why);
    if (expected.width != actual.width || expected.height != actual.height) {
        j.verdict = UNTRUSTED;
        j.reason = "the pictures differ in size: expected " + std::to_string(expected.width) + "x" +
                   std::to_string(expected.height) + ", got " + std::to_string(actual.width) + "x" +
                   std::to_string(actual.height);
        return j;
    }
    const long long differ = differing_pixels(expected, actual);
    if (differ > o.tolerance) {
        j.verdict = DIFFERS;
        j.reason = std::to_string(differ) + " pixels differ (" + std::to_string(o.tolerance) + " allowed)";
        if (!o.diff.empty()) {
            if (write_diff(expected, actual, o.diff, &why))
                j.details.insert(j.details.begin(), "diff: " + o.diff + " (differing pixels in red)");
            else
                j.details.insert(j.details.begin(), "cannot write the diff " + o.diff + ": " + why);
        }
    } else {
        j.reason = differ == 0 ? "the picture matches" : std::to_string(differ) + " pixels differ, within the tolerance";
    }
    return j;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parse_options(argc, argv);
    // The expected picture is read first: a grader's mistake shows before any run.
    Picture expected;
    std::string why;
    if (!o.expect.empty() && !read_picture(o.expect, &expected, &why))
        fail("cannot read the expected picture " + o.expect + ": " + why);

    char folder_template[] = "/tmp/zorve-run-XXXXXX";
    std::string folder;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) {
        std::string t = std::string(tmp) + "/zorve-run-XXXXXX";
        std::vector<char> buffer(t.begin(), t.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data())) folder = buffer.data();
    }
    if (folder.empty()) {
        if (!mkdtemp(folder_template)) fail(std::string("cannot make a temporary folder: ") + std::strerror(errno));
        folder = folder_template;
    }
    const std::string report_path = folder + "/report.json";
    const std::string output_path = folder + "/output.txt";
    const std::string picture_path = !o.picture.empty() ? o.picture : (!o.expect.empty() ? folder + "/picture.png" : "");

    const Ended ended = run(o,
                            {{"ZORVE_HEADLESS", "1"},
                             {"ZORVE_REPORT", report_path},
                             {"ZORVE_PLAY", o.script},
                             {"ZORVE_SNAPSHOT", picture_path},
                             {"ZORVE_TICKS", o.ticks >= 0 ? std::to_string(o.ticks) : ""}},
                            output_path);
    const Judgement j = judge(o, ended, expected, report_path, picture_path, output_path);
    if (std::ifstream in(report_path, std::ios::binary); in && !o.report.empty()) {
        std::ofstream out(o.report, std::ios::binary);
        out << in.rdbuf();
        if (!out) std::fprintf(stderr, "zorve-run: cannot write the report %s\n", o.report.c_str());
    }
    std::printf("%s: %s: %s\n", VERDICT_WORDS[j.verdict], o.command[0].c_str(), j.reason.c_str());
    if (!o.quiet && j.verdict != PASS)
        for (const std::string& d : j.details) std::printf("  %s\n", d.c_str());
    std::fflush(stdout);

    for (const std::string& f : {report_path, output_path, folder + "/picture.png"}) std::remove(f.c_str());
    rmdir(folder.c_str());
    return j.verdict;
}
