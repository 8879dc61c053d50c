#!/usr/bin/env bash
# The probe on the desktop presenter, used as a person would: what it draws is on the
# screen, clicks and keys arrive as runtime events, Ctrl shortcuts act once, the menu
# bar is real, and Quit from the menu ends the program.
#   desktop_input_test.sh PROBE
set -u
PROBE=$1
. "$(dirname "$0")/lib.sh"
start_desktop

start_probe
expect_line ready
find_probe_window
PROBE_WIN=$WIN

# The FLTK window holds the menu bar over the 595 x 496 client area.
read -r _ _ W H <<<"$(window_box "$WIN")"
[ "$W x $H" = "595 x $((496 + MENU_BAR_HEIGHT))" ] || fail "window is $W x $H"

# --- what it drew: red square centred at (-150, 50), blue at (150, 50), runtime
# coordinates; the client area's centre (297, 248) is the origin, y grows upwards.
# Checked near the squares' edges, and at the canvas's black frame (the clearing
# rectangle's outline at client row and column 0), so that a shift is caught.
EXPECTED_PIXELS=(
  147 198 255,0,0      147 158 255,0,0   147 138 255,255,255
  147 238 255,0,0      147 258 255,255,255
  447 198 0,0,255      297 248 255,255,255
  0 0 0,0,0            0 100 0,0,0       1 1 255,255,255
  594 495 255,255,255
)
screen_matches() {
  local points=() wanted=() got=() i
  for ((i = 0; i < ${#EXPECTED_PIXELS[@]}; i += 3)); do
    points+=("${EXPECTED_PIXELS[i]}" "${EXPECTED_PIXELS[i + 1]}")
    wanted+=("${EXPECTED_PIXELS[i]},${EXPECTED_PIXELS[i + 1]}: ${EXPECTED_PIXELS[i + 2]}")
  done
  client_shot "$WIN" "$E2E_TMP/client.png" || return 1
  mapfile -t got < <(pixels_of "$E2E_TMP/client.png" "${points[@]}")
  MISMATCH=
  for ((i = 0; i < ${#wanted[@]}; i++)); do
    [ "${wanted[i]#*: }" = "${got[i]:-}" ] || MISMATCH+=" (${wanted[i]%%:*}) is ${got[i]:-?}, not ${wanted[i]#*: };"
  done
  [ -z "$MISMATCH" ]
}
poll 10 screen_matches || fail "client area pixels:$MISMATCH"

# --- clicks, in centred y-up coordinates
click_client "$WIN" 147 198
expect_line "mouse -150 50"
click_client "$WIN" 0 0
expect_line "mouse -297 248"
click_client "$WIN" 594 495
expect_line "mouse 297 -247"

# --- typed keys; Escape must arrive as a key, not close the window
activate "$WIN"
xdotool key a
expect_line "key 97"
xdotool key A
expect_line "key 65"
xdotool key 5 space Return
expect_line "key 53"
expect_line "key 32"
expect_line "key 13"
xdotool key Escape
expect_line "key 27"
xdotool key z
expect_line "key 122"
xwininfo -id "$WIN" | grep -q IsViewable || fail "the window is gone after Escape"

# --- Ctrl+A runs the animation: periodic events; Ctrl+H halts it. Neither types a
# character: the next line that is not periodic is the b typed afterwards.
xdotool key ctrl+a
poll 10 eval '[ "$(count_lines periodic)" -ge 3 ]' || fail "no periodic events after Ctrl+A"
xdotool key ctrl+h
xdotool key b
expect_line "key 98" skip-periodic
# Five timer ticks later a key, which must be the very next event: the probe has
# handled everything up to it, and no tick brought a periodic event meanwhile.
sleep 0.5
xdotool key c
expect_line "key 99"

# --- Ctrl held here and let go in another program's window does not stay held: back
# here, "sequel" types six keys, and its q does not quit.
xmessage -name other -title "another program" "another program" &
E2E_PIDS+=($!)
wait_window "another program"
OTHER=$WIN
WIN=$PROBE_WIN
activate "$WIN"
xdotool keydown ctrl
activate "$OTHER"
xdotool keyup ctrl
activate "$WIN"
xdotool type --delay 30 sequel
for k in 115 101 113 117 101 108; do expect_line "key $k"; done

# --- Ctrl+L toggles the Logging check mark of the real menu, once per press: the
# Logging row (item 3 of 14) looks different after one press and as before after two.
logging_row() {
  local x y w h crop
  open_first_menu "$WIN"
  read -r x y w h <<<"$MENU_BOX"
  crop="${w}x$((h / 14))+${x}+$((y + 3 * h / 14))"
  # Taken again until two shots agree: the popup may be mapped before it is drawn.
  import -window root -crop "$crop" +repage "$1" 2>/dev/null
  poll 5 eval 'import -window root -crop "$crop" +repage "$1.again.png" 2>/dev/null &&
               { same_image "$1" "$1.again.png" || { mv "$1.again.png" "$1"; false; }; }' ||
    fail "the menu did not settle"
  xdotool key Escape  # closes the menu; the program gets nothing
  poll 5 eval '[ "$(visible_top_windows)" = "$TOP_WINDOWS" ]' || fail "the menu did not close"
}
# A key typed after Ctrl+L and seen by the probe proves that the runtime has handled
# Ctrl+L, check mark included, before the menu is opened.
ctrl_l() {
  xdotool key ctrl+l x
  expect_line "key 120"
}
TOP_WINDOWS=$(visible_top_windows)
logging_row "$E2E_TMP/logging0.png"
ctrl_l
logging_row "$E2E_TMP/logging1.png"
ctrl_l
logging_row "$E2E_TMP/logging2.png"
same_image "$E2E_TMP/logging0.png" "$E2E_TMP/logging1.png" && fail "Ctrl+L did not change the check mark"
same_image "$E2E_TMP/logging0.png" "$E2E_TMP/logging2.png" || fail "two Ctrl+L did not restore the check mark"
[ -z "$(sed -n "$((READ_POS + 1)),\$p" "$PROBE_OUT")" ] || fail "the menu or Ctrl+L produced events"

# --- Quit (item 7 of 14) picked from the menu with the mouse
open_first_menu "$WIN"
read -r qx qy <<<"$(menu_item_point 7 14)"
xdotool mousemove "$qx" "$qy" click 1
expect_line quit
probe_exit_status 10
status=$?
[ "$status" -eq 0 ] || fail "the probe exited with $status after Quit"
echo "desktop input: all checks passed"
