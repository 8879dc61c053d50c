// Event scripts: the stream of events written to "ZORVE.SCR" one line per event (runs
// of periodic events counted into one line) and read back in place of live input. A
// line may also hold the answer to a dialog, which the dialog takes during playback.
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime.h"

namespace {

constexpr int SCRIPT_NUMBER_SIZE = 12;
// Blank lines one wait skips at most; a file of nothing but line ends is read over
// many waits, so that the program keeps answering meanwhile.
constexpr int BLANK_LINES_PER_READ = 256;

enum ReadResult { READ_EVENT, READ_END, READ_LATER, READ_ERROR };

// The file that playback reads: ZORVE.SCR, or the script a headless run was given.
const char* play_name() { return runtime.play_name ? runtime.play_name : SCRIPT_NAME; }
const char* open_name() { return runtime.script_writing ? SCRIPT_NAME : play_name(); }

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
    runtime_problem("Cannot write script file %s\n", SCRIPT_NAME);
    runtime.recording_flag = 0;
    runtime.periodic_count = 0;
    check_menu_item(MENU_RECORD_SCRIPT, false);
    if (runtime.script_file) {
        std::fclose(runtime.script_file);
        runtime.script_file = nullptr;
    }
}

// Where playback stopped and why, for the run's report.
void playback_stopped(const char* why, const char* line) {
    runtime.run.script_stop_why = why;
    runtime.run.script_stop_line = runtime.play_line;
    runtime.run.script_stop_text = line ? line : "";
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

// Reads one line of the file into `line`, without its line end ("\n" or "\r\n", a
// script edited on Windows): as much of it as fits, the rest skipped, so that a line is
// always one line. A last line without its line end is not a line: READ_END.
ReadResult read_physical_line(char (&line)[SCRIPT_TEXT_LINE_SIZE]) {
    FILE* f = runtime.script_file;
    size_t kept = 0;
    for (;;) {
        const int c = std::getc(f);
        if (c == EOF) {
            line[kept] = '\0';
            return std::feof(f) ? READ_END : READ_ERROR;
        }
        if (c == '\n') break;
        if (kept < sizeof line - 1) line[kept++] = static_cast<char>(c);
    }
    if (kept > 0 && line[kept - 1] == '\r') --kept;
    line[kept] = '\0';
    ++runtime.play_line;
    ++runtime.run.script_lines;
    return READ_EVENT;
}

// Reads the next line that is not empty, or takes the one read ahead.
ReadResult read_line(char (&line)[SCRIPT_TEXT_LINE_SIZE]) {
    if (runtime.peeked) {
        runtime.peeked = false;
        std::memcpy(line, runtime.peeked_line, sizeof line);
        return static_cast<ReadResult>(runtime.peeked_result);
    }
    for (int blank = 0; blank < BLANK_LINES_PER_READ; ++blank) {
        const ReadResult got = read_physical_line(line);
        if (got != READ_EVENT || line[0] != '\0') return got;
    }
    return READ_LATER;
}

// Whether an end of the file is what the person expected: a playback that played its
// events and ended on a complete line. A play-one that finds nothing, a file without
// events, or a last line cut off without its line end is worth their attention.
bool expected_end(const char* last_piece) {
    return runtime.playing_flag && runtime.play_delivered > 0 && last_piece[0] == '\0';
}

// Says how the file ended: at its end, or with a failed read.
void report_end(ReadResult how, const char* last_piece) {
    const char* name = open_name();
    if (how == READ_ERROR) {
        runtime_problem("Cannot read script file %s\n", shown_name(name).text);
        playback_stopped("cannot_read", nullptr);
    } else {
        if (expected_end(last_piece))
            ZORVE_console_printf("EOF encountered in script file %s\n", shown_name(name).text);
        else
            runtime_problem("EOF encountered in script file %s\n", shown_name(name).text);
        playback_stopped("end_of_file", last_piece);
    }
}

// The kind of a line, by its seventh character: 'M', 'K', 'P', or 'T' for an answer.
char line_kind(const char* line) { return std::strlen(line) < 7 ? '\0' : line[6]; }

// Takes one event from a script line (judged by its first SCRIPT_LINE_SIZE - 1
// characters, as the line buffer holds them); false for a line that holds none.
bool parse_event(const char* whole_line) {
    char line[SCRIPT_LINE_SIZE];
    const size_t n = strnlen(whole_line, sizeof line - 1);
    std::memcpy(line, whole_line, n);
    line[n] = '\0';
    long value = 0;
    switch (line_kind(line)) {
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

// The extra input's lines: a mouse button let go, the mouse moved, a right or middle
// press (x, y and the button), a key by its code, a key let go. Returns the event's
// kind without making it pending, or 0 for a line that is none of these.
struct ExtraEvent {
    int kind = 0;
    int x = 0, y = 0, button = 0, code = 0;
};

ExtraEvent parse_extra(const char* whole_line) {
    char line[SCRIPT_LINE_SIZE];
    const size_t n = strnlen(whole_line, sizeof line - 1);
    std::memcpy(line, whole_line, n);
    line[n] = '\0';
    ExtraEvent e;
    long x = 0, y = 0, value = 0;
    switch (line_kind(line)) {
        case 'U': case 'X': case 'B': {
            const char* rest = scan_number(line + 6, is_digit_or_minus, &x);
            rest = rest ? scan_number(rest, is_digit_or_minus, &y) : nullptr;
            if (!rest || !scan_number(rest, is_digit, &value) || value > 3) return e;
            const char k = line_kind(line);
            e.kind = k == 'U' ? int(ZORVE_RELEASE) : (k == 'X' ? int(ZORVE_MOTION) : int(ZORVE_MOUSE));
            if (e.kind == ZORVE_MOUSE && value < 1) return ExtraEvent{};
            e.x = saturate(x);
            e.y = saturate(y);
            e.button = static_cast<int>(value);
            return e;
        }
        case 'S': case 'L':
            if (!scan_number(line + 6, is_digit, &value) || value > ZORVE_KEY_F12) return e;
            e.kind = line_kind(line) == 'S' ? int(ZORVE_KEY) : int(ZORVE_KEY_RELEASE);
            e.code = static_cast<int>(value);
            return e;
        default:
            return e;
    }
}

// The answer of an answer line, ZORVE_TEXT("..."); with \" \\ \n \r \t escaped: the
// text between its first quote and the closing one, cut to what the answer buffer
// holds. False for a line without both quotes.
bool parse_answer(const char* line, char (&answer)[GETS_ANSWER_SIZE]) {
    const char* p = std::strchr(line + 6, '"');
    if (!p) return false;
    size_t n = 0;
    for (++p; *p != '"'; ++p) {
        if (*p == '\0') return false;
        char c = *p;
        if (c == '\\') {
            ++p;
            switch (*p) {
                case 'n': c = '\n'; break;
                case 'r': c = '\r'; break;
                case 't': c = '\t'; break;
                case '\0': return false;
                default: c = *p; break;  // \" and \\ and anything else: the character
            }
        }
        if (n < sizeof answer - 1) answer[n++] = c;
    }
    answer[n] = '\0';
    return true;
}

// Opens the file for playback if it is not open yet; false (playback ended) if it
// cannot be.
bool open_for_playback() {
    if (runtime.script_file && runtime.script_writing) {
        runtime_problem("Cannot play back script file %s while it is recorded\n", SCRIPT_NAME);
        playback_stopped("recording", nullptr);
        playback_end();
        return false;
    }
    if (runtime.script_file) return true;
    runtime.script_file = open_script(play_name(), "rt");
    runtime.run.script_file = play_name();
    if (!runtime.script_file) {
        runtime_problem("Cannot open script file %s for reading\n", shown_name(play_name()).text);
        runtime.play_line = 0;
        playback_stopped("cannot_open", nullptr);
        playback_end();
        runtime.play_name = nullptr;
        return false;
    }
    runtime.script_writing = false;
    runtime.play_delivered = 0;
    runtime.play_periodic_count = 0;
    runtime.play_line = 0;
    runtime.peeked = false;
    return true;
}

}  // namespace

int script_event_line(char (&line)[SCRIPT_LINE_SIZE], int kind, int x, int y, char key, int periodic) {
    switch (kind) {
        case ZORVE_MOUSE:
            return std::snprintf(line, sizeof line, "ZORVE_MOUSE(%d, %d);\n", x, y);
        case ZORVE_KBD:
            // As an unsigned byte, so keys 128..255 read back unchanged.
            return std::snprintf(line, sizeof line, "ZORVE_KBD(%d);\n", static_cast<unsigned char>(key));
        case ZORVE_PERIODIC:
            return std::snprintf(line, sizeof line, "ZORVE_PERIODIC(%d);\n", periodic);
        // The extra input, each with a seventh character of its own.
        case ZORVE_RELEASE:
            return std::snprintf(line, sizeof line, "ZORVE_UP(%d, %d, %d);\n", x, y, runtime.pending_button);
        case ZORVE_MOTION:
            return std::snprintf(line, sizeof line, "ZORVE_XY(%d, %d, %d);\n", x, y, runtime.pending_button);
        case ZORVE_BUTTON_PRESS:
            return std::snprintf(line, sizeof line, "ZORVE_BUTTON(%d, %d, %d);\n", x, y, runtime.pending_button);
        case ZORVE_KEY:
            return std::snprintf(line, sizeof line, "ZORVE_SPECIAL(%d);\n", runtime.pending_code);
        case ZORVE_KEY_RELEASE:
            return std::snprintf(line, sizeof line, "ZORVE_LIFT(%d);\n", runtime.pending_code);
        default:
            return 0;
    }
}

void script_answer_line(char (&line)[SCRIPT_TEXT_LINE_SIZE], const char* answer) {
    size_t n = 0;
    const auto put = [&](char c) {
        if (n < sizeof line - 5) line[n++] = c;  // room for the end: ");\n and the NUL
    };
    for (const char* p = "ZORVE_TEXT(\""; *p; ++p) put(*p);
    for (const char* p = answer; *p; ++p) {
        switch (*p) {
            case '"': put('\\'); put('"'); break;
            case '\\': put('\\'); put('\\'); break;
            case '\n': put('\\'); put('n'); break;
            case '\r': put('\\'); put('r'); break;
            case '\t': put('\\'); put('t'); break;
            default: put(*p); break;
        }
    }
    for (const char* p = "\");\n"; *p; ++p) line[n++] = *p;
    line[n] = '\0';
}

// Writes one recorded line, opening the script file for writing at the first.
static void write_recorded_line(const char* line) {
    if (runtime.script_file && !runtime.script_writing) {
        runtime_problem("Cannot record into script file %s while it is played back\n", SCRIPT_NAME);
        return;
    }
    if (!runtime.script_file) {
        runtime.script_file = open_script(SCRIPT_NAME, "wt");
        if (!runtime.script_file) {
            runtime_problem("Cannot open script file %s for writing\n", SCRIPT_NAME);
            return;
        }
        runtime.script_writing = true;
    }
    // Each line reaches the file as it is recorded: a full disk shows at once, and a
    // program that ends without stopping keeps what was recorded.
    if (std::fputs(line, runtime.script_file) < 0 || std::fflush(runtime.script_file) != 0) recording_failed();
}

void script_write_event(int kind, int x, int y, char key) {
    char line[SCRIPT_LINE_SIZE];
    if (script_event_line(line, kind, x, y, key, runtime.periodic_count)) write_recorded_line(line);
}

// Writes the periodic events counted so far; false if that write ended the recording.
static bool write_periodic_count() {
    if (runtime.periodic_count <= 0) return true;
    script_write_event(ZORVE_PERIODIC, 0, 0, 0);
    runtime.periodic_count = 0;
    return runtime.recording_flag != 0;
}

void script_record_event(int kind) {
    if (kind == ZORVE_PERIODIC) {
        ++runtime.periodic_count;
        return;
    }
    if (!write_periodic_count()) return;
    // A press of the right or middle button is a line of the extra input.
    if (kind == ZORVE_MOUSE && runtime.pending_button > 1) kind = ZORVE_BUTTON_PRESS;
    script_write_event(kind, runtime.pending_x, runtime.pending_y, runtime.pending_key);
}

void script_write_answer(const char* answer) {
    // Where it was asked: after the events that came before the question.
    if (!write_periodic_count()) return;
    char line[SCRIPT_TEXT_LINE_SIZE];
    script_answer_line(line, answer);
    write_recorded_line(line);
}

bool script_take_answer(char (&answer)[GETS_ANSWER_SIZE]) {
    // Only a whole playback answers dialogs, and only when no periodic events of the
    // last line are still due: the answer's place in the script has come.
    if (!runtime.playing_flag || runtime.play_periodic_count > 0) return false;
    if (!open_for_playback()) return false;
    if (!runtime.peeked) {
        runtime.peeked_result = read_line(runtime.peeked_line);
        runtime.peeked = true;
    }
    if (runtime.peeked_result != READ_EVENT || line_kind(runtime.peeked_line) != 'T') return false;
    if (!parse_answer(runtime.peeked_line, answer)) return false;  // the wait says it is not understood
    runtime.peeked = false;
    ++runtime.play_delivered;
    return true;
}

int script_read_event() {
    if (!open_for_playback()) return 0;
    if (runtime.play_periodic_count > 0) {
        runtime.pending_kind = ZORVE_PERIODIC;
        --runtime.play_periodic_count;
        ++runtime.play_delivered;
        ++runtime.run.script_events;
        return 1;
    }
    char line[SCRIPT_TEXT_LINE_SIZE];
    for (int skipped = 0;; ++skipped) {
        const ReadResult got = skipped < BLANK_LINES_PER_READ ? read_line(line) : READ_LATER;
        if (got == READ_LATER) return -1;
        if (got == READ_END || got == READ_ERROR) {
            report_end(got, line);
            playback_end();
            script_close();
            return 0;
        }
        // An answer that no dialog took: the program did not ask where the script
        // expected it to. It is skipped, and the report says so.
        if (line_kind(line) == 'T') {
            char answer[GETS_ANSWER_SIZE];
            if (!parse_answer(line, answer)) break;
            ++runtime.run.answers_skipped;
            runtime_problem("Answer line %lld of script file %s was not asked for; skipping it\n",
                            runtime.play_line, shown_name(open_name()).text);
            continue;
        }
        if (parse_event(line)) {
            ++runtime.play_delivered;
            ++runtime.run.script_events;
            return 1;
        }
        if (const ExtraEvent e = parse_extra(line); e.kind) {
            // Played into a wait of the extra input that asks for it; any other wait
            // skips it, as a program that does not ask never hears such input.
            if (!runtime.input_wait || !input_wanted(e.kind, e.button)) {
                ++runtime.run.newer_skipped;
                continue;
            }
            runtime.pending_kind = e.kind;
            runtime.pending_x = e.x;
            runtime.pending_y = e.y;
            runtime.pending_button = e.button;
            runtime.pending_code = e.code;
            ++runtime.play_delivered;
            ++runtime.run.script_events;
            return 1;
        }
        break;
    }
    // An unknown line ends playback silently; the wait clears the flags and the check
    // mark stays. The file is forgotten so that the next command starts afresh.
    playback_stopped("not_understood", line);
    script_close();
    return 0;
}

void recording_start() {
    if (runtime.playing_flag) {
        // One file cannot be read and written at once; what is played is not recorded.
        runtime_problem("Cannot record into script file %s while it is played back\n", SCRIPT_NAME);
        return;
    }
    // Play One leaves the file open for its next event; a recording starts afresh.
    if (runtime.script_file && !runtime.script_writing) script_close();
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
    runtime_problem("Cannot play back script file %s while it is recorded\n", SCRIPT_NAME);
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
    if (runtime.script_file && !runtime.script_writing) playback_stopped("stopped_by_command", nullptr);
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

// The event lines a playback left unplayed, counted at the end of the run from where
// it stopped; the file is closed afterwards.
long long script_events_left() {
    if (!runtime.script_file || runtime.script_writing) return 0;
    long long left = runtime.play_periodic_count;
    char line[SCRIPT_TEXT_LINE_SIZE];
    for (;;) {
        const ReadResult got = read_line(line);
        if (got == READ_LATER) continue;
        if (got != READ_EVENT) break;
        if (parse_event(line)) left += runtime.pending_kind == ZORVE_PERIODIC ? runtime.play_periodic_count + 1 : 1;
        else if (line_kind(line) == 'T' || parse_extra(line).kind) ++left;
        else break;
    }
    return left;
}

void script_close() {
    if (!runtime.script_file) return;
    const bool writing = runtime.script_writing;
    const bool closed = std::fclose(runtime.script_file) == 0;
    runtime.script_file = nullptr;
    runtime.script_writing = false;
    runtime.play_periodic_count = 0;
    runtime.peeked = false;
    if (!writing) runtime.play_name = nullptr;
    if (writing && !closed) runtime_problem("Cannot write script file %s\n", SCRIPT_NAME);
}
