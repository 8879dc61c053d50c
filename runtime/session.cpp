// The session (ZORVE_SESSION=FILE): every event the program's waits return since the
// run started, kept in FILE in the lines a recording writes, so that a web page can
// hand the session on and another page can play it back. It is the Run menu's
// recording's twin and shares nothing with it: both can run, or either. The file is
// whole after every event: the line of the current run of periodic events is written
// again, in place, at each one of them.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "runtime.h"

namespace {

void stop_keeping() {
    std::fclose(runtime.session_file);
    runtime.session_file = nullptr;
}

// Writes `line` at `at`, the end of the file afterwards; false (and the session no
// longer kept) when it does not fit the bound or cannot be written.
bool put_line(long at, const char* line) {
    const long length = static_cast<long>(std::strlen(line));
    if (at + length > SESSION_BYTES_MAX) {
        // A session cut short would rebuild another card: none is better.
        stop_keeping();
        std::remove(runtime.session_path.c_str());
        ZORVE_console_printf("The session is longer than %ld KB: it is no longer kept\n", SESSION_BYTES_MAX / 1024);
        return false;
    }
    if (std::fseek(runtime.session_file, at, SEEK_SET) != 0 || std::fputs(line, runtime.session_file) < 0 ||
        std::fflush(runtime.session_file) != 0) {
        const int error = errno;
        stop_keeping();
        runtime_problem("Cannot keep the session in %s: %s\n", shown_name(runtime.session_path.c_str()).text,
                        std::strerror(error));
        return false;
    }
    runtime.session_end = at + length;
    return true;
}

// A line after the last: a run of periodic events that follows starts after it.
void append(const char* line) {
    if (!put_line(runtime.session_end, line)) return;
    runtime.session_run_at = runtime.session_end;
    runtime.session_periodic = 0;
}

}  // namespace

void session_start(const char* path) {
    session_close();
    runtime.session_path = path;
    runtime.session_file = std::fopen(path, "wb");
    runtime.session_end = runtime.session_run_at = 0;
    runtime.session_periodic = 0;
    if (!runtime.session_file)
        runtime_problem("Cannot keep the session in %s: %s\n", shown_name(path).text, std::strerror(errno));
}

void session_record_event(int kind) {
    if (!runtime.session_file) return;
    char line[SCRIPT_LINE_SIZE];
    if (kind == ZORVE_PERIODIC) {
        script_event_line(line, kind, 0, 0, 0, ++runtime.session_periodic);
        put_line(runtime.session_run_at, line);
        return;
    }
    // A press of the right or middle button is a line of the extra input.
    if (kind == ZORVE_MOUSE && runtime.pending_button > 1) kind = ZORVE_BUTTON_PRESS;
    if (script_event_line(line, kind, runtime.pending_x, runtime.pending_y, runtime.pending_key, 0)) append(line);
}

void session_write_answer(const char* answer) {
    if (!runtime.session_file) return;
    char line[SCRIPT_TEXT_LINE_SIZE];
    script_answer_line(line, answer);
    append(line);
}

void session_close() {
    if (runtime.session_file) stop_keeping();
}
