#!/usr/bin/env bash
# Drags drawn with the real pointer in the real window (press, moves, release, with the
# left button and the right one) are recorded into ZORVE.SCR, and the script plays back
# headless (zorve-run) to the picture the window showed.
#   drag_round_trip_test.sh PAINT ZORVE_RUN
set -u
PROBE=$1
ZORVE_RUN=$2
. "$(dirname "$0")/lib.sh"
start_desktop

# Client point of runtime coordinates, on the screen.
screen_point() {
  local ox oy
  read -r ox oy <<<"$(window_origin "$WIN")"
  echo $((ox + $(cx "$1"))) $((oy + MENU_BAR_HEIGHT + $(cy "$2")))
}

# A drag with BUTTON through runtime points "X,Y ...": press at the first, a move to
# each of the others, release at the last.
drag() {
  local button=$1 p x y sx sy
  shift
  IFS=, read -r x y <<<"$1"
  read -r sx sy <<<"$(screen_point "$x" "$y")"
  xdotool mousemove "$sx" "$sy" mousedown "$button"
  for p in "${@:2}"; do
    IFS=, read -r x y <<<"$p"
    read -r sx sy <<<"$(screen_point "$x" "$y")"
    xdotool mousemove "$sx" "$sy"
    sleep 0.02
  done
  xdotool mouseup "$button"
}

start_recording
xdotool key 1 Up Up Up
drag 1 -200,100 -150,130 -100,100 -50,60 0,20 50,-20 100,-60 150,-20 200,40
xdotool key 7
drag 1 -220,-120 -160,-150 -100,-120 -40,-150 20,-120 80,-150 140,-120
drag 3 -150,20 -120,60 -90,90 -60,120  # the right button rubs out
end_recording
grep -q '^ZORVE_XY(' "$SCRIPT" || fail "no moves in the recording: $(head "$SCRIPT")"
grep -q '^ZORVE_UP(.*, 1);$' "$SCRIPT" || fail "no left release in the recording"
grep -q '^ZORVE_BUTTON(.*, 2);$' "$SCRIPT" || fail "no right press in the recording"
grep -q '^ZORVE_SPECIAL(258);$' "$SCRIPT" || fail "no arrow key in the recording"

expect_headless_playback
echo "drags round trip: $(grep -c '^ZORVE_XY(' "$SCRIPT") moves recorded in the window, played back headless"
