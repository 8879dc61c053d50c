#!/usr/bin/env bash
# Windows at twice the size on a high-density screen: the designer's client area is its
# headless picture with every pixel doubled, the menu bar, its menu, the console and the
# text dialog grow too and still work by mouse and keyboard, a saved picture is the
# same as at scale 1, and clicks at doubled
# screen points reach the program at the same canvas points as at scale 1. A refused
# ZORVE_SCALE is named on stderr and gives scale 1; without it, the display's Xft.dpi
# decides.
#   scale_test.sh CORDELUNE EVENT_PROBE TEXT_PROBE
set -u
CORDELUNE=$1 EVENT_PROBE=$2 TEXT_PROBE=$3
. "$(dirname "$0")/lib.sh"
# A display of its own, large enough for a doubled window, with no resources of the
# machine's desktop.
unset DISPLAY
E2E_SCREEN=2560x1600x24
start_desktop

S=2
BAR1=$MENU_BAR_HEIGHT
BAR2=$((S * MENU_BAR_HEIGHT))
exited_with_0() { probe_exit_status 10; }
box_size() { local w h; read -r _ _ w h <<<"$(window_box "$1")"; echo "$w x $h"; }
# Waits for a menu popup to open after a key and sets MENU_BOX to it.
wait_menu() {
  local before=$1
  MENU_BOX=
  poll 5 eval 'new_menu_box "$before"' || fail "$2"
}

# The designer's first frame, headless: the picture every scale must show.
ZORVE_HEADLESS=1 ZORVE_TICKS=2 ZORVE_SNAPSHOT="$E2E_TMP/headless.png" "$CORDELUNE" >/dev/null 2>&1 ||
  fail "the headless designer did not run"
convert "$E2E_TMP/headless.png" -scale 200% "$E2E_TMP/headless2.png" || fail "convert -scale failed"

# --- a refused ZORVE_SCALE: named on stderr, one line; scale 1, whose menu size the
# doubled one is measured against.
PROBE=$CORDELUNE
ZORVE_SCALE=2x start_designer
[ "$(box_size "$WIN")" = "595 x $((496 + BAR1))" ] || fail "with ZORVE_SCALE=2x the window is $(box_size "$WIN")"
[ "$(wc -l <"$PROBE_ERR")" = 1 ] && grep -q 'ZORVE_SCALE="2x"' "$PROBE_ERR" ||
  fail "no one-line message naming ZORVE_SCALE=\"2x\" on stderr"
TOP_WINDOWS=$(visible_top_windows)
open_first_menu "$WIN"
read -r _ _ MENU1_W MENU1_H <<<"$MENU_BOX"
xdotool key Escape
poll 5 eval '[ "$(visible_top_windows)" = "$TOP_WINDOWS" ]' || fail "the menu did not close"
activate "$WIN"
xdotool key ctrl+q
exited_with_0 || fail "the designer did not end with 0 after Ctrl+Q"

# --- ZORVE_SCALE=2: the designer.
MENU_BAR_HEIGHT=$BAR2
ZORVE_SCALE=$S start_designer
[ "$(box_size "$WIN")" = "$((S * 595)) x $((S * 496 + BAR2))" ] || fail "at scale 2 the window is $(box_size "$WIN")"
doubled() {
  client_shot "$WIN" "$E2E_TMP/client2.png" &&
    same_image "$E2E_TMP/client2.png" "$E2E_TMP/headless2.png"
}
poll 10 doubled || {
  compare "$E2E_TMP/client2.png" "$E2E_TMP/headless2.png" "$E2E_TMP/client2_diff.png" 2>/dev/null
  fail "the client area is not the headless picture doubled (see client2.png, client2_diff.png)"
}
[ -z "$(cat "$PROBE_ERR")" ] || fail "the designer wrote on stderr at ZORVE_SCALE=2"

# The menu, opened with a click on "Run" in the taller bar, is about twice as large.
TOP_WINDOWS=$(visible_top_windows)
open_first_menu "$WIN"
read -r _ _ MENU2_W MENU2_H <<<"$MENU_BOX"
[ $((10 * MENU2_H)) -ge $((18 * MENU1_H)) ] && [ $((10 * MENU2_H)) -le $((22 * MENU1_H)) ] &&
  [ $((10 * MENU2_W)) -ge $((18 * MENU1_W)) ] && [ $((10 * MENU2_W)) -le $((22 * MENU1_W)) ] ||
  fail "the menu is ${MENU2_W}x$MENU2_H at scale 2, ${MENU1_W}x$MENU1_H at scale 1"
# Save Picture (item 8 of 14) picked by a click: the picture is the one of every scale,
# not what the screen shows; the console shows, saying so, its pixels doubled too.
read -r sx sy <<<"$(menu_item_point 8 14)"
xdotool mousemove "$sx" "$sy" click 1
GRAPHICS=$WIN
wait_window "ZORVE Text"
CONSOLE=$WIN
WIN=$GRAPHICS
poll 5 test -s ZORVE1.png || fail "Save Picture wrote no ZORVE1.png"
same_image ZORVE1.png "$E2E_TMP/headless.png" ||
  fail "the picture saved at scale 2 is not the headless one"
# Each 2 x 2 block of one colour: the console's picture halved and doubled is itself.
console_doubled() {
  local ink
  window_shot "$CONSOLE" "$E2E_TMP/console2.png" &&
    convert "$E2E_TMP/console2.png" -sample 50% -scale 200% "$E2E_TMP/console2_blocks.png" &&
    same_image "$E2E_TMP/console2.png" "$E2E_TMP/console2_blocks.png" &&
    read -r ink _ <<<"$(ink_in "$E2E_TMP/console2.png" 0 0 400 "$(box_size "$CONSOLE" | cut -d' ' -f3)")" &&
    [ "$ink" -gt 0 ]
}
poll 5 console_doubled || fail "the console does not show a line of text in doubled pixels (console2.png)"

# Alt+R opens the menu from the keyboard, Q (its Quit's mnemonic) quits.
activate "$WIN"
before=$(visible_top_windows)
xdotool key alt+r
wait_menu "$before" "Alt+R opened no menu"
xdotool key q
exited_with_0 || fail "the designer did not end with 0 after Alt+R, Q"

# --- the event probe: clicks at doubled screen points, and keys.
PROBE=$EVENT_PROBE
ZORVE_SCALE=$S start_probe
expect_line ready
find_probe_window
# Both screen pixels of a doubled one are the same canvas pixel.
click_client "$WIN" $((S * 147)) $((S * 198))
expect_line "mouse -150 50"
click_client "$WIN" $((S * 147 + 1)) $((S * 198 + 1))
expect_line "mouse -150 50"
click_client "$WIN" 0 0
expect_line "mouse -297 248"
click_client "$WIN" $((S * 595 - 1)) $((S * 496 - 1))
expect_line "mouse 297 -247"
activate "$WIN"
xdotool key a
expect_line "key 97"
xdotool key ctrl+q
expect_line quit
exited_with_0 || fail "the event probe did not end with 0"

# --- the text dialog at scale 2: twice the template's size, typed into, Enter; then
# the Okay button clicked at its doubled place.
PROBE=$TEXT_PROBE
ZORVE_SCALE=$S start_probe gets
next_line 10 || fail "the text probe printed nothing"
read -r word BX BY <<<"$NEXT_LINE"
[ "$word" = units ] || fail "unexpected first line \"$NEXT_LINE\""
px() { echo $((S * (($1 * BX + 2) / 4))); }
py() { echo $((S * (($1 * BY + 4) / 8))); }
find_probe_window
GRAPHICS=$WIN
wait_window ZORVE_gets
DIALOG=$WIN
[ "$(box_size "$DIALOG")" = "$(px 185) x $(py 92)" ] ||
  fail "the dialog is $(box_size "$DIALOG"), not $(px 185) x $(py 92)"
activate "$DIALOG"
xdotool type --delay 20 "Valentine 14"
xdotool key Return
expect_line 'gets 1 "Valentine 14"'
poll 10 eval 'WIN=$(xdotool search --onlyvisible --name "^ZORVE_gets\$" 2>/dev/null | head -n 1); [ -n "$WIN" ] && [ "$WIN" != "$DIALOG" ]' ||
  fail "the second dialog did not appear"
DIALOG=$WIN
xdotool mousemove --window "$DIALOG" $(($(px 67) + $(px 50) / 2)) $(($(py 74) + $(py 14) / 2)) click 1
expect_line 'gets 1 ""'
wmctrl -i -c "$GRAPHICS" || fail "wmctrl could not ask to close the graphics window"
expect_line quit
exited_with_0 || fail "the text probe did not end with 0"

# --- no ZORVE_SCALE: the density the desktop sets for programs (Xft.dpi) decides.
xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.antialias:\t1\nXft.dpi:\t192\n')" ||
  fail "cannot set the display's resources"
PROBE=$EVENT_PROBE
ZORVE_SCALE= start_probe
expect_line ready
find_probe_window
[ "$(box_size "$WIN")" = "$((S * 595)) x $((S * 496 + BAR2))" ] || fail "at Xft.dpi 192 the window is $(box_size "$WIN")"
click_client "$WIN" $((S * 447)) $((S * 198))
expect_line "mouse 150 50"
activate "$WIN"
xdotool key ctrl+q
expect_line quit
echo "scale: all checks passed"
