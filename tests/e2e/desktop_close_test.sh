#!/usr/bin/env bash
# Closing the graphics window through the window manager (its close request, as the
# title bar's close box sends it) ends the program's wait with a quit event.
#   desktop_close_test.sh PROBE
set -u
PROBE=$1
. "$(dirname "$0")/lib.sh"
start_desktop

start_probe
expect_line ready
find_probe_window
wmctrl -i -c "$WIN" || fail "wmctrl could not ask to close the window"
expect_line quit
probe_exit_status 10
status=$?
[ "$status" -eq 0 ] || fail "the probe exited with $status after the close request"
[ -z "$(cat "$PROBE_ERR")" ] || fail "the probe wrote on stderr"
echo "desktop close: all checks passed"
