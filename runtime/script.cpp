// Event scripts: the stream of events written to "ZORVE.SCR" one line per event (runs
// of periodic events counted into one line) and read back in place of live input.
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime.h"

namespace {

constexpr int SCRIPT_LINE_SIZE = 512;
constexpr int SCRIPT_NUMBER_SIZE = 12;
// Blank lines one wait skips at most; a file of nothing but line ends is read over
// many waits, so that the program keeps answering meanwhile.
constexpr int BLANK_LINES_PER_READ = 256;

enum ReadResult { READ_EVENT, READ_END, READ_LATER };

// The file that playback reads: ZORVE.SCR, or the script a headless run was given.
const char* play_name() { return runtime.play_name ? runtime.play_name : SCRIPT_NAME; }
const char* open_name() { return runtime.script_writing ? SCRIPT_NAME : play_name(); }

// A message about the script file. The person may not be watching the console (the
// designer hides it), so it is shown first.
template <class... Args>
void script_problem(const char* format, Args... args) {
    console_show(1);
    ZORVE_console_printf(format, args...);
}

// Opens the script only if it is a plain file: opening a pipe or a device of that name
// could block the program, or worse.
FILE* open_script(const char* name, const char* mode) {
    const DWORD kind = GetFileAttributesA(name);
    if (kind != INVALID_FILE_ATTRIBUTES && (kind & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return nullptr;
    return std::fopen(name, mode);
}

// A write that did not reach the file ends the recording at once, with one message,
// rather than losing the rest of it in silence.
void recording_failed() {
    script_problem("Cannot write script file %s\n", SCRIPT_NAME);
    runtime.recording_flag = 0;
    runtime.periodic_count = 0;
    check_menu_item(MENU_RECORD_SCRIPT, false);
    if (runtime.script_file) {
        std::fclose(runtime.script_file);
        runtime.script_file = nullptr;
    }
}

// Collects the run of characters accepted by `wanted` that starts at the first such
// character at or after `from`, and converts it with strtol. Returns the position after
// the run, or nullptr when the line has no such run or the run does not fit the
// number buffer: such a line is rejected.
template <class Wanted>
const char* scan_number(const char* from, Wanted wanted, long* value) {
    while (*from && !wanted(static_cast<unsigned char>(*from))) ++from;
    if (!*from) return nullptr;
    char number[SCRIPT_NUMBER_SIZE];
    int n = 0;
    while (wanted(static_cast<unsigned char>(from[n]))) {
        if (n == SCRIPT_NUMBER_SIZE - 1) return nullptr;
        number[n] = from[n];
        ++n;
    }
    number[n] = '\0';
    *value = std::strtol(number, nullptr, 10);
    return from + n;
}

bool is_digit(unsigned char c) { return std::isdigit(c) != 0; }
bool is_digit_or_minus(unsigned char c) { return std::isdigit(c) || c == '-'; }


// Drops the line end, "\n" or "\r\n" (a script edited on Windows); true if there was one.
bool drop_line_end(char* line) {
    size_t n = std::strlen(line);
    if (n == 0 || line[n - 1] != '\n') return false;
    line[--n] = '\0';
    if (n > 0 && line[n - 1] == '\r') line[--n] = '\0';
    return true;
}

// Whether an end of the file is what the person expected: a playback that played its
// events and ended on a complete line. A play-one that finds nothing, a file without
// events, or a last line cut off without its line end is worth their attention.
bool expected_end(const char* last_piece) {
    return runtime.playing_flag && runtime.play_delivered > 0 && last_piece[0] == '\0';
}

// Reads the next line that is not empty into `line`, without its line end.
ReadResult read_line(char (&line)[SCRIPT_LINE_SIZE]) {
    for (int blank = 0; blank < BLANK_LINES_PER_READ; ++blank) {
        line[0] = '\0';
        const bool got = std::fgets(line, SCRIPT_LINE_SIZE, runtime.script_file) != nullptr;
        if (std::feof(runtime.script_file)) {
            // A last line without its line end is not played: the end is reported instead.
            const char* name = open_name();
            if (expected_end(got ? line : ""))
                ZORVE_console_printf("EOF encountered in script file %s\n", name);
            else
                script_problem("EOF encountered in script file %s\n", name);
            return READ_END;
        }
        if (!got) {
            script_problem("Cannot read script file %s\n", open_name());
            return READ_END;
        }
        const bool whole = drop_line_end(line);
        if (line[0] != '\0' || !whole) return READ_EVENT;
    }
    return READ_LATER;
}

// Takes one event from a script line; false for a line that holds none.
bool parse_line(const char* line) {
    if (std::strlen(line) < 7) return false;
    long value = 0;
    switch (line[6]) {
        case 'K':
            if (!scan_number(line + 6, is_digit, &value)) return false;
            runtime.pending_kind = ZORVE_KBD;
            runtime.pending_key = static_cast<char>(value & 0xFF);
            return true;
        case 'M': {
            long y = 0;
            const char* rest = scan_number(line + 6, is_digit_or_minus, &value);
            if (!rest || !scan_number(rest, is_digit_or_minus, &y)) return false;
            runtime.pending_kind = ZORVE_MOUSE;
            runtime.pending_x = saturate(value);
            runtime.pending_y = saturate(y);
            return true;
        }
        case 'P':
            if (!scan_number(line + 6, is_digit, &value)) return false;
            runtime.pending_kind = ZORVE_PERIODIC;
            // N delivers N events: this one now, N - 1 from the counter; 0 gives one too.
            runtime.play_periodic_count = value > 1 ? saturate(value - 1) : 0;
            return true;
        default:
            return false;
    }
}

}  // namespace

void script_write_event(int kind, int x, int y, char key) {
    if (runtime.script_file && !runtime.script_writing) {
        script_problem("Cannot record into script file %s while it is played back\n", SCRIPT_NAME);
        return;
    }
    if (!runtime.script_file) {
        runtime.script_file = open_script(SCRIPT_NAME, "wt");
        if (!runtime.script_file) {
            script_problem("Cannot open script file %s for writing\n", SCRIPT_NAME);
            return;
        }
        runtime.script_writing = true;
    }
    int written = 0;
    switch (kind) {
        case ZORVE_MOUSE:
            written = std::fprintf(runtime.script_file, "ZORVE_MOUSE(%d, %d);\n", x, y);
            break;
        case ZORVE_KBD:
            // As an unsigned byte, so keys 128..255 read back unchanged.
            written = std::fprintf(runtime.script_file, "ZORVE_KBD(%d);\n", static_cast<unsigned char>(key));
            break;
        case ZORVE_PERIODIC:
            written = std::fprintf(runtime.script_file, "ZORVE_PERIODIC(%d);\n", runtime.periodic_count);
            break;
        default:
            return;
    }
    // Each line reaches the file as it is recorded: a full disk shows at once, and a
    // program that ends without stopping keeps what was recorded.
    if (written < 0 || std::fflush(runtime.script_file) != 0) recording_failed();
}

void script_record_event(int kind) {
    if (kind == ZORVE_PERIODIC) {
        ++runtime.periodic_count;
        return;
    }
    if (runtime.periodic_count > 0) {
        script_write_event(ZORVE_PERIODIC, 0, 0, 0);
        runtime.periodic_count = 0;
        if (!runtime.recording_flag) return;  // that write failed and ended the recording
    }
    script_write_event(kind, runtime.pending_x, runtime.pending_y, runtime.pending_key);
}

int script_read_event() {
    if (runtime.script_file && runtime.script_writing) {
        script_problem("Cannot play back script file %s while it is recorded\n", SCRIPT_NAME);
        playback_end();
        return 0;
    }
    if (!runtime.script_file) {
        runtime.script_file = open_script(play_name(), "rt");
        if (!runtime.script_file) {
            script_problem("Cannot open script file %s for reading\n", play_name());
            playback_end();
            runtime.play_name = nullptr;
            return 0;
        }
        runtime.script_writing = false;
        runtime.play_delivered = 0;
        runtime.play_periodic_count = 0;
    }
    if (runtime.play_periodic_count > 0) {
        runtime.pending_kind = ZORVE_PERIODIC;
        --runtime.play_periodic_count;
        ++runtime.play_delivered;
        return 1;
    }
    char line[SCRIPT_LINE_SIZE];
    switch (read_line(line)) {
        case READ_LATER:
            return -1;
        case READ_END:
            playback_end();
            script_close();
            return 0;
        case READ_EVENT:
            break;
    }
    if (!parse_line(line)) {
        // An unknown line ends playback silently; the wait clears the flags and the
        // check mark stays. The file is forgotten so that the next command starts afresh.
        script_close();
        return 0;
    }
    ++runtime.play_delivered;
    return 1;
}

void recording_start() {
    if (runtime.playing_flag) {
        // One file cannot be read and written at once; what is played is not recorded.
        script_problem("Cannot record into script file %s while it is played back\n", SCRIPT_NAME);
        return;
    }
    runtime.recording_flag = 1;
    runtime.periodic_count = 0;
    check_menu_item(MENU_RECORD_SCRIPT, true);
}

void recording_stop() {
    runtime.recording_flag = 0;
    check_menu_item(MENU_RECORD_SCRIPT, false);
    if (runtime.periodic_count > 0) {
        runtime.recording_flag = 1;  // so that a failing write can say so and end it
        script_write_event(ZORVE_PERIODIC, 0, 0, 0);
        runtime.recording_flag = 0;
        runtime.periodic_count = 0;
    }
    script_close();
}

// Playback and recording share the one file: while it is recorded, it is not played.
static bool refuse_playback_while_recording() {
    if (!runtime.recording_flag) return false;
    script_problem("Cannot play back script file %s while it is recorded\n", SCRIPT_NAME);
    return true;
}

void playback_start() {
    if (refuse_playback_while_recording()) return;
    runtime.run_flag = 0;
    runtime.step_flag = 0;
    runtime.playing_flag = 1;
    check_menu_item(MENU_PLAYBACK_SCRIPT, true);
}

void playback_stop() {
    runtime.playing_flag = 0;
    check_menu_item(MENU_PLAYBACK_SCRIPT, false);
    script_close();
}

void play_one_start() {
    if (refuse_playback_while_recording()) return;
    runtime.play_one_flag = 1;
    runtime.run_flag = 0;
    runtime.step_flag = 0;
}

void playback_end() {
    runtime.playing_flag = 0;
    runtime.play_one_flag = 0;
    check_menu_item(MENU_PLAYBACK_SCRIPT, false);
}

void script_close() {
    if (!runtime.script_file) return;
    const bool writing = runtime.script_writing;
    const bool closed = std::fclose(runtime.script_file) == 0;
    runtime.script_file = nullptr;
    runtime.script_writing = false;
    runtime.play_periodic_count = 0;
    if (!writing) runtime.play_name = nullptr;
    if (writing && !closed) script_problem("Cannot write script file %s\n", SCRIPT_NAME);
}
