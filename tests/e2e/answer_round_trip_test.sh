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
SCRIPT=$E2E_TMP/ZORVE.SCR

# The client area until two shots a quarter second apart agree: the program draws
# only on an event, so then every event so far is drawn.
settled_client_shot() {
  local previous=$E2E_TMP/settle_a.png current=$E2E_TMP/settle_b.png deadline
  deadline=$(($(now_us) + 15000000))
  client_shot "$WIN" "$previous"
  while :; do
    sleep 0.25
    client_shot "$WIN" "$current"
    if [ "$(compare -metric AE "$previous" "$current" null: 2>&1)" = 0 ]; then
      cp "$current" "$1"
      return 0
    fi
    [ "$(now_us)" -lt "$deadline" ] || fail "the window did not settle within 15 s"
    cp "$current" "$previous"
  done
}

# ---- a session recorded in the window --------------------------------------------------
start_probe
find_probe_window
activate "$WIN"
xdotool key ctrl+r
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
settled_client_shot "$E2E_TMP/recorded.png"
activate "$WIN"
xdotool key ctrl+r ctrl+q
probe_exit_status 10 || fail "the recording run did not end with 0 after Ctrl+Q"
grep -qx 'ZORVE_TEXT("4");' "$SCRIPT" || fail "no answer line in the recording: $(cat "$SCRIPT")"
[ "$(grep -c . "$SCRIPT")" = 5 ] || fail "the recording is not 5 lines: $(cat "$SCRIPT")"

# ---- played back headless -----------------------------------------------------------------
"$ZORVE_RUN" --script "$SCRIPT" --expect "$E2E_TMP/recorded.png" --diff "$E2E_TMP/headless-diff.png" \
  -- "$PROBE" >"$E2E_TMP/zorve-run.out" || fail "headless playback: $(cat "$E2E_TMP/zorve-run.out")"

# ---- played back in the window: the dialog opens and is answered by the script --------
ZORVE_PLAY=$SCRIPT ZORVE_SNAPSHOT=$E2E_TMP/desktop.png start_probe
find_probe_window
settled_client_shot "$E2E_TMP/played.png"
[ "$(compare -metric AE "$E2E_TMP/recorded.png" "$E2E_TMP/played.png" null: 2>&1)" = 0 ] ||
  fail "the window played back differs from the recorded session (played.png, recorded.png)"
activate "$WIN"
xdotool key ctrl+q
probe_exit_status 10 || fail "the program did not end with 0 after Ctrl+Q"
[ "$(compare -metric AE "$E2E_TMP/recorded.png" "$E2E_TMP/desktop.png" null: 2>&1)" = 0 ] ||
  fail "the desktop playback's snapshot differs from the recorded session"
echo "answers round trip: recorded in the window, played back headless and in the window"
