#!/usr/bin/env bash
# A program's windows on the desktop carry its name and its icon, so that task bars and
# window switchers show them: the WM_CLASS of each of its windows is the executable's
# name (which a desktop entry's StartupWMClass matches), and _NET_WM_ICON holds the icon
# found for that name (the designer's heart beside the build's program, or under /usr
# once installed), and not when there is none.
#   window_identity_test.sh PROGRAM heart|none
set -u
PROBE=$1
ICON=$2
. "$(dirname "$0")/lib.sh"
start_desktop
start_probe
find_probe_window
name=$(basename "$PROBE")
windows=$(xdotool search --onlyvisible --pid "$PROBE_PID" 2>/dev/null)
# The graphics window, and the console window where the program shows it.
grep -qx "$WIN" <<<"$windows" || fail "the graphics window is not among the program's ($windows)"
for win in $windows; do
  expect_window_class "$win" "$name"
  if [ "$ICON" = heart ]; then
    expect_heart_icon "$win"
  else
    # The window manager may put its own default there (openbox does), never the heart.
    icons=$(window_icons "$win")
    ! grep -q ' 0xFFFF0000 ' <<<"$icons" || fail "$name has no icon of its own, yet window $win shows: $icons"
  fi
done
echo "ok: $(wc -w <<<"$windows") windows of $name, of class \"$name\" with ${ICON/none/no} icon"
