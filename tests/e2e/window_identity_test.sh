#!/usr/bin/env bash
# A program's windows on the desktop carry its name and its icon, so that task bars and
# window switchers show them: WM_CLASS is the executable's name (which a desktop entry's
# StartupWMClass matches), and _NET_WM_ICON holds the icon found for that name (the
# designer's heart beside the build's program, or under /usr once installed), and not
# when there is none.
#   window_identity_test.sh PROGRAM heart|none
set -u
PROBE=$1
ICON=$2
. "$(dirname "$0")/lib.sh"
start_desktop
start_probe
find_probe_window
name=$(basename "$PROBE")
expect_window_class "$WIN" "$name"
if [ "$ICON" = heart ]; then
  expect_heart_icon "$WIN"
else
  # The window manager may put its own default there (openbox does), never the heart.
  icons=$(window_icons "$WIN")
  ! grep -q ' 0xFFFF0000 ' <<<"$icons" || fail "$name has no icon of its own, yet its window shows: $icons"
fi
echo "ok: $name's window is of class \"$name\" with ${ICON/none/no} icon"
