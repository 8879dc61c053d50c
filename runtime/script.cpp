// Event scripts: the stream of events written to "ZORVE.SCR" one line per event (runs
// of periodic events counted into one line) and read back in place of live input.
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime.h"

namespace {

const char* const SCRIPT_NAME = "ZORVE.SCR";
constexpr int SCRIPT_LINE_SIZE = 512;
constexpr int SCRIPT_NUMBER_SIZE = 12;

void check_menu(UINT id, bool checked) {
    CheckMenuItem(runtime.run_menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
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

int to_int(long v) { return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v)); }

// Reads the next non-empty line into `line`. Returns false at the end of the file or on
// a read error, after saying which.
bool read_line(char (&line)[SCRIPT_LINE_SIZE]) {
    for (;;) {
        line[0] = '\0';
        const bool got = std::fgets(line, SCRIPT_LINE_SIZE, runtime.script_file) != nullptr;
        if (std::feof(runtime.script_file)) {
            ZORVE_console_printf("EOF encountered in script file %s\n", SCRIPT_NAME);
            return false;
        }
        if (!got) {
            ZORVE_console_printf("Cannot read script file %s\n", SCRIPT_NAME);
            return false;
        }
        if (line[0] != '\n') return true;
    }
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
            runtime.pending_x = to_int(value);
            runtime.pending_y = to_int(y);
            return true;
        }
        case 'P':
            if (!scan_number(line + 6, is_digit, &value)) return false;
            runtime.pending_kind = ZORVE_PERIODIC;
            // N delivers N events: this one now, N - 1 from the counter; 0 gives one too.
            runtime.periodic_count = value > 1 ? to_int(value - 1) : 0;
            return true;
        default:
            return false;
    }
}

}  // namespace

void script_write_event(int kind, int x, int y, char key) {
    if (runtime.script_file && !runtime.script_writing) {
        ZORVE_console_printf("Cannot record into script file %s while it is played back\n",
                             SCRIPT_NAME);
        return;
    }
    if (!runtime.script_file) {
        runtime.script_file = std::fopen(SCRIPT_NAME, "wt");
        if (!runtime.script_file) {
            ZORVE_console_printf("Cannot open script file %s for writing\n", SCRIPT_NAME);
            return;
        }
        runtime.script_writing = true;
    }
    switch (kind) {
        case ZORVE_MOUSE:
            std::fprintf(runtime.script_file, "ZORVE_MOUSE(%d, %d);\n", x, y);
            break;
        case ZORVE_KBD:
            // As an unsigned byte, so keys 128..255 read back unchanged.
            std::fprintf(runtime.script_file, "ZORVE_KBD(%d);\n", static_cast<unsigned char>(key));
            break;
        case ZORVE_PERIODIC:
            std::fprintf(runtime.script_file, "ZORVE_PERIODIC(%d);\n", runtime.periodic_count);
            break;
        default:
            break;
    }
}

void script_record_event(int kind) {
    if (kind == ZORVE_PERIODIC) {
        ++runtime.periodic_count;
        return;
    }
    if (runtime.periodic_count > 0) {
        script_write_event(ZORVE_PERIODIC, 0, 0, 0);
        runtime.periodic_count = 0;
    }
    script_write_event(kind, runtime.pending_x, runtime.pending_y, runtime.pending_key);
}

int script_read_event() {
    if (runtime.script_file && runtime.script_writing) {
        ZORVE_console_printf("Cannot play back script file %s while it is recorded\n", SCRIPT_NAME);
        playback_end();
        return 0;
    }
    if (!runtime.script_file) {
        runtime.script_file = std::fopen(SCRIPT_NAME, "rt");
        if (!runtime.script_file) {
            ZORVE_console_printf("Cannot open script file %s for reading\n", SCRIPT_NAME);
            playback_end();
            return 0;
        }
        runtime.script_writing = false;
    }
    if (runtime.periodic_count > 0) {
        runtime.pending_kind = ZORVE_PERIODIC;
        --runtime.periodic_count;
        return 1;
    }
    char line[SCRIPT_LINE_SIZE];
    if (!read_line(line)) {
        playback_end();
        script_close();
        return 0;
    }
    if (!parse_line(line)) {
        // An unknown line ends playback silently; the wait clears the flags and the
        // check mark stays. The file is forgotten so that the next command starts afresh.
        script_close();
        return 0;
    }
    return 1;
}

void recording_start() {
    runtime.recording_flag = 1;
    check_menu(MENU_RECORD_SCRIPT, true);
}

void recording_stop() {
    runtime.recording_flag = 0;
    check_menu(MENU_RECORD_SCRIPT, false);
    if (runtime.periodic_count > 0) {
        script_write_event(ZORVE_PERIODIC, 0, 0, 0);
        runtime.periodic_count = 0;
    }
    script_close();
}

void playback_start() {
    runtime.run_flag = 0;
    runtime.step_flag = 0;
    runtime.playing_flag = 1;
    check_menu(MENU_PLAYBACK_SCRIPT, true);
}

void playback_stop() {
    runtime.playing_flag = 0;
    check_menu(MENU_PLAYBACK_SCRIPT, false);
    script_close();
}

void play_one_start() {
    runtime.play_one_flag = 1;
    runtime.run_flag = 0;
    runtime.step_flag = 0;
}

void playback_end() {
    runtime.playing_flag = 0;
    runtime.play_one_flag = 0;
    check_menu(MENU_PLAYBACK_SCRIPT, false);
}

void script_close() {
    if (runtime.script_file) {
        std::fclose(runtime.script_file);
        runtime.script_file = nullptr;
    }
}
