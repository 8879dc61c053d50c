// Event scripts: the menu's record and playback commands. For now they only keep their
// flags and check marks; the script file itself is not read or written yet.
#include "runtime.h"

int recording_flag = 0;
int playing_flag = 0;
int play_one_flag = 0;
int periodic_count = 0;

void recording_start() {
    recording_flag = 1;
    CheckMenuItem(run_menu, MENU_RECORD_SCRIPT, MF_BYCOMMAND | MF_CHECKED);
}

void recording_stop() {
    recording_flag = 0;
    CheckMenuItem(run_menu, MENU_RECORD_SCRIPT, MF_BYCOMMAND | MF_UNCHECKED);
}

void playback_start() {
    playing_flag = 1;
    run_flag = 0;
    step_flag = 0;
    CheckMenuItem(run_menu, MENU_PLAYBACK_SCRIPT, MF_BYCOMMAND | MF_CHECKED);
}

void playback_stop() {
    playing_flag = 0;
    CheckMenuItem(run_menu, MENU_PLAYBACK_SCRIPT, MF_BYCOMMAND | MF_UNCHECKED);
}

void play_one_start() {
    play_one_flag = 1;
    run_flag = 0;
    step_flag = 0;
}

// No script file yet: playback ends at once.
int script_read_event() {
    CheckMenuItem(run_menu, MENU_PLAYBACK_SCRIPT, MF_BYCOMMAND | MF_UNCHECKED);
    return 0;
}

void script_write_event(int) {}

void script_close() {}
