#!/usr/bin/env bash
# The text dialog on a display without a window manager: nobody gives its window the
# keyboard, so the presenter does; typing reaches its field at once, wherever the
# pointer is, without a click first.
#   dialog_focus_test.sh PROBE
set -u
PROBE=$1
. "$(dirname "$0")/lib.sh"
require_tools
unset DISPLAY  # a display of our own, where no window manager runs
ensure_display
cd "$E2E_TMP" || fail "no temporary folder"
wm_running && fail "a window manager runs on the private display"

start_probe gets
next_line 10 || fail "the probe printed nothing"
wait_window ZORVE_gets
# The pointer away from every window: the keyboard does not follow it to the dialog.
xdotool mousemove 1270 1010
xdotool type --delay 20 "Hi 14"
xdotool key Return
expect_line 'gets 1 "Hi 14"'
# The second dialog alike, though the keyboard was the first one's.
poll 10 eval 'WIN2=$(xdotool search --onlyvisible --name "^ZORVE_gets\$" 2>/dev/null | head -n 1); [ -n "$WIN2" ] && [ "$WIN2" != "$WIN" ]' ||
  fail "the second dialog did not appear"
xdotool type --delay 20 "again"
xdotool key Return
expect_line 'gets 1 "again"'
echo "dialog focus: all checks passed"
