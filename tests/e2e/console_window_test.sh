#!/usr/bin/env bash
# The console window on the desktop: switching logging on shows it, a drawing call with
# a colour that does not exist writes its correction and its log line as the two bottom
# lines, each new line scrolls what was there up by exactly one line height, and the
# window manager's close request only hides it until logging is switched on again.
#   console_window_test.sh PROBE
set -u
PROBE=$1
. "$(dirname "$0")/lib.sh"
start_desktop

start_probe console
# Line height, width of "Illegal color 30; using RED.", the average letter width, and
# the left bearing of the ink of an "I" and an "r", as the probe measures them in the
# console's font.
next_line 10 || fail "the probe printed nothing"
read -r word LINE TEXT_WIDTH LETTER BEARING_I BEARING_R <<<"$NEXT_LINE"
[ "$word" = console ] && [ "${LINE:-0}" -gt 0 ] && [ "${TEXT_WIDTH:-0}" -gt 0 ] &&
  [ "${BEARING_I:--1}" -ge 0 ] && [ "${BEARING_R:--1}" -ge 0 ] ||
  fail "unexpected first line \"$NEXT_LINE\""
find_probe_window
GRAPHICS=$WIN

# Hidden as the designer hides it; logging on shows it.
[ -z "$(xdotool search --onlyvisible --name '^ZORVE Text$' 2>/dev/null)" ] ||
  fail "the console is visible before logging is switched on"
activate "$GRAPHICS"
xdotool key l
expect_line logging
wait_window "ZORVE Text"
CONSOLE=$WIN
read -r _ _ CW CH <<<"$(window_box "$CONSOLE")"
[ "${CH:-0}" -gt $((3 * LINE)) ] || fail "console is only ${CH:-?} pixels high"

BOTTOM=$((CH - LINE))        # top row of the bottom line
ABOVE=$((CH - 2 * LINE))     # top row of the line above it

# --- one bad call: "Illegal color 30; using RED." and then the log line of the
# rectangle. Text starts 5 pixels from the left edge, so ink starts there plus the
# first glyph's left bearing.
activate "$GRAPHICS"
xdotool key b
expect_line drawn
lines_written() {
  window_shot "$CONSOLE" "$E2E_TMP/console1.png" || return 1
  read -r INK_BOTTOM L_BOTTOM _ <<<"$(ink_in "$E2E_TMP/console1.png" 0 "$BOTTOM" "$CW" "$LINE")"
  read -r INK_ABOVE L_ABOVE R_ABOVE _ <<<"$(ink_in "$E2E_TMP/console1.png" 0 "$ABOVE" "$CW" "$LINE")"
  [ "$INK_BOTTOM" -gt 0 ] && [ "$INK_ABOVE" -gt 0 ]
}
poll 10 lines_written || fail "no text in the console's two bottom lines (ink: ${INK_ABOVE:-?} above, ${INK_BOTTOM:-?} bottom)"
[ "$L_ABOVE" -eq $((5 + BEARING_I)) ] ||
  fail "the correction's ink starts at x = $L_ABOVE, not 5 + $BEARING_I"
[ "$L_BOTTOM" -eq $((5 + BEARING_R)) ] ||
  fail "the log line's ink starts at x = $L_BOTTOM, not 5 + $BEARING_R"
# The correction's ink ends within its last letter's cell (its final "." is narrow).
[ "$R_ABOVE" -ge $((5 + TEXT_WIDTH - LETTER)) ] && [ "$R_ABOVE" -lt $((5 + TEXT_WIDTH)) ] ||
  fail "the line above the bottom has ink up to x = $R_ABOVE; \"Illegal color 30; using RED.\" ends at $((5 + TEXT_WIDTH))"

# --- an empty line: everything moves up one line height and the bottom line is blank.
activate "$GRAPHICS"
xdotool key e
expect_line empty
scrolled() {
  window_shot "$CONSOLE" "$E2E_TMP/console2.png" || return 1
  read -r INK_NEW _ <<<"$(ink_in "$E2E_TMP/console2.png" 0 "$BOTTOM" "$CW" "$LINE")"
  [ "$INK_NEW" -eq 0 ] &&
    same_pixels "$E2E_TMP/console2.png" "${CW}x${BOTTOM}+0+0" "$E2E_TMP/console1.png" "${CW}x${BOTTOM}+0+$LINE"
}
poll 10 scrolled || fail "after an empty line the console did not move up by $LINE rows (bottom ink: ${INK_NEW:-?})"

# --- the window manager's close request hides the console; the program runs on, and
# switching logging on shows it again with the line printed while it was hidden.
wmctrl -i -c "$CONSOLE" || fail "wmctrl could not ask to close the console"
poll 10 eval '[ -z "$(xdotool search --onlyvisible --name "^ZORVE Text\$" 2>/dev/null)" ]' ||
  fail "the console is still visible after the close request"
activate "$GRAPHICS"
xdotool key b
expect_line drawn
xdotool key l
expect_line logging
wait_window "ZORVE Text"
CONSOLE=$WIN
shown_again() {
  window_shot "$CONSOLE" "$E2E_TMP/console3.png" || return 1
  read -r INK_BOTTOM L_BOTTOM _ <<<"$(ink_in "$E2E_TMP/console3.png" 0 "$BOTTOM" "$CW" "$LINE")"
  read -r INK_ABOVE L_ABOVE _ <<<"$(ink_in "$E2E_TMP/console3.png" 0 "$ABOVE" "$CW" "$LINE")"
  [ "$INK_BOTTOM" -gt 0 ] && [ "$L_BOTTOM" -eq $((5 + BEARING_R)) ] &&
    [ "$INK_ABOVE" -gt 0 ] && [ "$L_ABOVE" -eq $((5 + BEARING_I)) ]
}
poll 10 shown_again || fail "the console shown again lacks the lines printed while it was hidden"

wmctrl -i -c "$GRAPHICS" || fail "wmctrl could not ask to close the graphics window"
expect_line quit
probe_exit_status 10
status=$?
[ "$status" -eq 0 ] || fail "the probe exited with $status"
echo "console window: all checks passed"
