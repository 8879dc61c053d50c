// The run as a whole: what the environment asks of it (a script to play, a picture and
// a report to write, a bound on its ticks), the problems of the runtime's own, and the
// report (ZORVE_REPORT) written when the run ends, however it ends.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime.h"

namespace {

// A run without a display that nothing ends (an animation that draws something new on
// every tick, with no script) ends after this much virtual time.
constexpr long long RUN_TIME_BOUND_MS = 10 * 60 * 1000;

const char* env(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// The run closes its graphics window, as a person would: the program hears ZORVE_QUIT.
void end_run(const char* why) {
    if (runtime.run.end) return;
    runtime.run.end = why;
    PostMessageA(runtime.graphics_window, WM_CLOSE, 0, 0);
}

// ---- the report, as JSON ----------------------------------------------------------------

struct Json {
    std::string out;
    bool first = true;  // no comma before the next member

    void comma() {
        if (!first) out += ',';
        first = false;
    }
    // Text of the runtime's 8-bit characters: each byte above 127 is written as the
    // character of that number (Latin-1), so the file is plain ASCII and always valid.
    void string(const char* s) {
        if (!s) {
            out += "null";
            return;
        }
        out += '"';
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
            const unsigned char c = *p;
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c == '\n') {
                out += "\\n";
            } else if (c < 0x20 || c >= 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
        out += '"';
    }
    void key(const char* name) {
        comma();
        string(name);
        out += ':';
    }
    void member(const char* name, const char* value) { key(name), string(value); }
    void member(const char* name, const std::string& value) { member(name, value.c_str()); }
    void member(const char* name, long long value) { key(name), out += std::to_string(value); }
    void member(const char* name, bool value) { key(name), out += value ? "true" : "false"; }
    void open(char bracket) {
        out += bracket;
        first = true;
    }
    void close(char bracket) {
        out += bracket;
        first = false;
    }
    void open_member(const char* name, char bracket) { key(name), open(bracket); }
    void null_member(const char* name) { key(name), out += "null"; }
};

// The line without its line end.
std::string without_line_end(const char* line) {
    std::string s = line ? line : "";
    if (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
}

const char* how_it_ended() {
    const RunRecord& r = runtime.run;
    if (r.end) return r.end;
    if (!runtime.stopped) return "exit";
    return r.events[ZORVE_QUIT] > 0 ? "quit" : "stop";
}

std::string report_text() {
    const RunRecord& r = runtime.run;
    Json j;
    j.open('{');
    j.member("zorve_report", 1LL);
    j.member("started", r.started);
    j.member("stopped", runtime.stopped);
    j.member("end", how_it_ended());
    j.member("headless", runtime.headless_run);
    j.member("ticks", r.ticks);
    j.member("virtual_ms", r.tick_time_ms);
    j.open_member("events", '{');
    j.member("mouse", r.events[ZORVE_MOUSE]);
    j.member("key", r.events[ZORVE_KBD]);
    j.member("periodic", r.events[ZORVE_PERIODIC]);
    j.member("quit", r.events[ZORVE_QUIT]);
    j.member("release", r.events[ZORVE_RELEASE]);
    j.member("motion", r.events[ZORVE_MOTION]);
    j.member("special_key", r.events[ZORVE_KEY]);
    j.member("key_release", r.events[ZORVE_KEY_RELEASE]);
    j.close('}');

    if (r.script_file.empty()) {
        j.null_member("script");
    } else {
        j.open_member("script", '{');
        j.member("file", r.script_file);
        j.member("lines_read", r.script_lines);
        j.member("events_played", r.script_events);
        j.member("stopped_because", r.script_stop_why ? r.script_stop_why : "playing");
        j.member("stopped_at_line", r.script_stop_why ? r.script_stop_line : runtime.play_line);
        j.member("stopped_line_text", r.script_stop_text);
        j.member("events_left", r.script_left > 0 ? r.script_left : 0LL);
        j.member("answers_skipped", r.answers_skipped);
        j.member("newer_lines_skipped", r.newer_skipped);
        j.close('}');
    }

    j.open_member("dialogs", '[');
    for (const RunDialog& d : r.dialogs) {
        j.comma();
        j.open('{');
        j.member("prompt", d.prompt);
        j.member("answer", d.answer);
        j.member("source", d.source);
        j.close('}');
    }
    j.close(']');
    j.member("dialogs_total", r.dialogs_total);
    j.member("dialogs_unanswered", r.dialogs_unanswered);

    if (r.picture_file.empty()) {
        j.null_member("picture");
    } else {
        j.open_member("picture", '{');
        j.member("file", r.picture_file);
        j.member("written", r.picture_written == 1);
        if (r.picture_written == 1)
            j.null_member("why_not");
        else
            j.member("why_not", r.picture_written < 0 ? "the program did not end its run" : r.picture_why.c_str());
        j.close('}');
    }

    j.open_member("console", '{');
    j.member("lines", r.console_lines);
    j.open_member("last", '[');
    for (int k = 0; k < console_kept_lines(); ++k) {
        HGLOBAL block = console_kept_line(k);
        const char* text = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
        j.comma();
        j.string(without_line_end(text).c_str());
        if (block) GlobalUnlock(block);
    }
    j.close(']');
    j.close('}');

    j.open_member("problems", '[');
    for (const std::string& p : r.problems) {
        j.comma();
        j.string(p.c_str());
    }
    j.close(']');
    j.member("problems_total", r.problems_total);
    j.close('}');
    j.out += '\n';
    return j.out;
}

// Written whole: a reader sees a whole report or none.
void write_report() {
    const char* path = runtime.run.report_path;
    if (!path) return;
    const std::string text = report_text();
    if (const char* why = file_write_whole(path, text.data(), text.size()))
        // Nowhere else to say it: the report was the way to tell.
        std::fprintf(stderr, "Cannot write run report %s: %s\n", shown_name(path).text, why);
}

// The picture ZORVE_SNAPSHOT asks for, once per run.
void write_snapshot() {
    RunRecord& r = runtime.run;
    if (r.picture_file.empty() || r.picture_written >= 0) return;
    const long long problems_before = r.problems_total;
    r.picture_written = ZORVE_save_picture(r.picture_file.c_str()) ? 1 : 0;
    if (!r.picture_written)
        r.picture_why = r.problems_total > problems_before && !r.problems.empty()
                            ? without_line_end(r.problems.back().c_str())
                            : "the picture could not be written";
}

// The end of the process: a program that returned from main, or called exit, without
// ZORVE_stop still leaves its picture and its report.
void at_exit() {
    if (!runtime.run.started) return;
    if (!runtime.stopped) {
        animation_end_early("the program ended");
        // The picture is the canvas as drawn; nothing is shown on a screen any more.
        runtime.canvas_dirty = 0;
        write_snapshot();
    }
    if (runtime.run.script_left < 0) runtime.run.script_left = script_events_left();
    write_report();
}

}  // namespace

bool runtime_not_started(const char* call) {
    for (const char* said : runtime.said_before_start)
        if (std::strcmp(said, call) == 0) return false;
    runtime.said_before_start.push_back(call);
    std::fprintf(stderr, "%s called before ZORVE_start\n", call);
    return false;
}

void runtime_problem(const char* format, ...) {
    char buffer[CONSOLE_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    format_line(buffer, format, args);
    va_end(args);
    // The person may not be watching the console (the designer hides it): it is shown.
    console_show(1);
    const size_t n = console_store(buffer);
    if (runtime.headless_run) {
        // Standard output stays the program's own lines.
        std::fputs(buffer, stderr);
        if (n == 0 || buffer[n - 1] != '\n') std::fputc('\n', stderr);
    }
    RunRecord& r = runtime.run;
    ++r.problems_total;
    if (r.problems.size() < size_t(RUN_PROBLEMS_KEPT)) r.problems.push_back(without_line_end(buffer));
}

void run_start() {
    RunRecord& r = runtime.run;
    r.started = true;
    if (const char* play = env("ZORVE_PLAY")) {
        playback_start();
        runtime.play_name = play;
        runtime.quit_after_play = runtime.headless_run;
        r.script_over = false;
        r.script_file = play;
    }
    if (const char* snapshot = env("ZORVE_SNAPSHOT")) r.picture_file = snapshot;
    if (const char* session = env("ZORVE_SESSION")) session_start(session);
    r.report_path = env("ZORVE_REPORT");
    if (const char* ticks = env("ZORVE_TICKS")) {
        char* end = nullptr;
        errno = 0;
        const long long n = std::strtoll(ticks, &end, 10);
        if (*end == '\0' && errno == 0 && n >= 0)
            r.tick_limit = n;
        else
            runtime_problem("ZORVE_TICKS=%s is not a number of ticks; ignoring it\n", shown_name(ticks).text);
    }
    static bool exit_hook = false;
    if (!exit_hook) exit_hook = std::atexit(at_exit) == 0;
}

void run_stop() {
    write_snapshot();
    RunRecord& r = runtime.run;
    if (r.script_left < 0) r.script_left = script_events_left();
    if (runtime.playing_flag && !r.script_stop_why) {
        r.script_stop_why = "run_ended";
        r.script_stop_line = runtime.play_line;
    }
    write_report();
}

void run_tick() {
    RunRecord& r = runtime.run;
    ++r.ticks;
    r.tick_time_ms += runtime.tick_ms;
    if (!runtime.headless_run) return;
    if (r.script_over) ++r.ticks_counted;
    if (r.tick_limit >= 0 && r.script_over && r.ticks_counted >= r.tick_limit)
        end_run("tick_limit");
    else if (r.tick_time_ms >= RUN_TIME_BOUND_MS)
        end_run("time_limit");
}

void run_script_ended() {
    RunRecord& r = runtime.run;
    r.script_over = true;
    if (r.tick_limit <= 0) end_run("script_end");
}

void run_window_closing() {
    // Nobody closes a window in a run without a display: the presenter did, because
    // the program waited for input that could never come.
    if (runtime.headless_run && !runtime.run.end) runtime.run.end = "idle";
}

void run_event_delivered(int kind) {
    if (kind > 0 && kind < RUN_EVENT_KINDS) ++runtime.run.events[kind];
}

void run_dialog(const char* prompt, const char* answer, const char* source) {
    RunRecord& r = runtime.run;
    ++r.dialogs_total;
    if (r.dialogs.size() < size_t(RUN_DIALOGS_KEPT)) r.dialogs.push_back({prompt, answer, source});
    if (std::strcmp(source, "none") == 0) {
        ++r.dialogs_unanswered;
        runtime_problem("Nobody answered the question \"%.79s\": the script has no answer for it\n", prompt);
    }
}
