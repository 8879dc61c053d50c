#!/usr/bin/env bash
# A question answered in the real window is recorded into ZORVE.SCR as an answer line,
# and the script then plays back headless (zorve-run) and in the real window to the
# picture that the recorded session ended on.
#   answer_round_trip_test.sh PROGRAM ZORVE_RUN
# PROGRAM is the graded exercise's correct solution: a red circle at each click, and the
# key h asks "How many hearts?" and draws that many.
set -u
PROBE=$1
ZORVE_RUN=$2
. "$(dirname "$0")/lib.sh"
start_desktop

# ---- a session recorded in the window --------------------------------------------------
start_recording
click_at -150 100
click_at 60 40
activate "$WIN"
xdotool key h
wait_window ZORVE_gets
DIALOG=$WIN
activate "$DIALOG"
xdotool type --delay 50 "4"
xdotool key Return
poll 10 eval '! window_mapped "$DIALOG"' || fail "the dialog did not close on Enter"
find_probe_window
click_at 200 -50
end_recording
grep -qx 'ZORVE_TEXT("4");' "$SCRIPT" || fail "no answer line in the recording: $(cat "$SCRIPT")"
[ "$(grep -c . "$SCRIPT")" = 5 ] || fail "the recording is not 5 lines: $(cat "$SCRIPT")"

# ---- played back headless -----------------------------------------------------------------
expect_headless_playback

# ---- played back in the window: the dialog opens and is answered by the script --------
ZORVE_PLAY=$SCRIPT ZORVE_SNAPSHOT=$E2E_TMP/desktop.png start_probe
find_probe_window
settled_client_shot "$E2E_TMP/played.png"
same_image "$E2E_TMP/recorded.png" "$E2E_TMP/played.png" ||
  fail "the window played back differs from the recorded session (played.png, recorded.png)"
activate "$WIN"
xdotool key ctrl+q
probe_exit_status 10 || fail "the program did not end with 0 after Ctrl+Q"
same_image "$E2E_TMP/recorded.png" "$E2E_TMP/desktop.png" ||
  fail "the desktop playback's snapshot differs from the recorded session"
echo "answers round trip: recorded in the window, played back headless and in the window"
