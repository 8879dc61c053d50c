#!/usr/bin/env bash
# The runtime's text dialog (ZORVE_gets) on the desktop: real widgets where the template
# puts them, typed text returned on Enter, Escape and the close request ignored, the
# "Okay" button clickable, and the graphics window held off while the dialog is open.
#   text_dialog_test.sh PROBE
set -u
PROBE=$1
. "$(dirname "$0")/lib.sh"
start_desktop

start_probe gets
next_line 10 || fail "the probe printed nothing"
read -r word BX BY <<<"$NEXT_LINE"
[ "$word" = units ] && [ "${BX:-0}" -gt 0 ] && [ "${BY:-0}" -gt 0 ] || fail "unexpected first line \"$NEXT_LINE\""
# Dialog units to pixels, rounded as the platform rounds them.
px() { echo $((($1 * BX + 2) / 4)); }
py() { echo $((($1 * BY + 4) / 8)); }

find_probe_window
GRAPHICS=$WIN
wait_window ZORVE_gets
DIALOG=$WIN

# --- the layout of the template: prompt (8,3) 167x24, field (8,30) 167x37, "Okay"
# (67,74) 50x14, in a 185 x 92 client area.
read -r _ _ W H <<<"$(window_box "$DIALOG")"
[ "$W x $H" = "$(px 185) x $(py 92)" ] || fail "dialog is $W x $H, not $(px 185) x $(py 92)"
PX=$(px 8) PY=$(py 3) PH=$(py 24)
EX=$(px 8) EY=$(py 30) EW=$(px 167) EH=$(py 37)
BX0=$(px 67) BY0=$(py 74) BW=$(px 50) BH=$(py 14)
GAP_Y=$(((EY + EH + BY0) / 2))  # a row between the field and the button

LAYOUT=
check() { "$@" || LAYOUT+=" $*;"; }
ink_count() { local c; read -r c _ <<<"$(ink_in "$SHOT" "$@")"; echo "$c"; }
has_ink() { [ "$(ink_count "$@")" -gt 0 ]; }
no_ink() { [ "$(ink_count "$@")" -eq 0 ]; }
pixel_is() { [ "$(pixels_of "$SHOT" "$1" "$2")" = "$3" ]; }
layout_ok() {
  SHOT=$E2E_TMP/dialog.png
  LAYOUT=
  window_shot "$DIALOG" "$SHOT" || return 1
  BACKGROUND=$(pixels_of "$SHOT" 2 2)
  check test "$BACKGROUND" != 255,255,255
  # The field: white inside, empty apart from the cursor at its left.
  check pixel_is $((EX + EW / 2)) $((EY + EH / 2)) 255,255,255
  check pixel_is $((EX - 4)) $((EY + EH / 2)) "$BACKGROUND"
  check no_ink $((EX + 8)) $((EY + 4)) $((EW - 16)) $((EH - 8))
  # The prompt: text at the top left of its box, nothing between it and the field.
  check has_ink "$PX" "$PY" $((EW / 2)) "$PH"
  local left top
  read -r _ left _ top _ <<<"$(ink_in "$SHOT" "$PX" "$PY" "$EW" "$PH")"
  check test "$left" -le $((PX + 4))
  check test "$top" -le $((PY + 8))
  check no_ink 0 $((PY + PH)) "$W" $((EY - PY - PH))
  # The button: its text inside, plain background right beside it and above it.
  check has_ink $((BX0 + 4)) $((BY0 + 4)) $((BW - 8)) $((BH - 8))
  check no_ink $((BX0 - 12)) "$BY0" 8 "$BH"
  check no_ink $((BX0 + BW + 4)) "$BY0" 8 "$BH"
  check no_ink 0 "$GAP_Y" "$W" 1
  check pixel_is $((BX0 - 6)) $((BY0 + BH / 2)) "$BACKGROUND"
  [ -z "$LAYOUT" ]
}
poll 10 layout_ok || fail "dialog layout:$LAYOUT"
cp "$SHOT" "$E2E_TMP/dialog_empty.png"

# --- the owner is held off: a click on the graphics window never reaches the program.
click_client "$GRAPHICS" 20 400

# --- Escape and the window manager's close request leave the dialog open. The
# program handles its X events in order, so a key typed after each that shows in the
# field proves the dialog took the Escape, or the close request, and stayed open.
# Activation goes through the window manager as the close request does, so the dialog
# has the close request in its queue before the key that follows.
field_ink() {
  window_shot "$DIALOG" "$E2E_TMP/dialog_field.png" || return 1
  read -r FIELD_INK _ <<<"$(ink_in "$E2E_TMP/dialog_field.png" $((EX + 8)) $((EY + 2)) $((EW - 16)) $((EH / 2)))"
}
field_has_more_ink() { field_ink && [ "$FIELD_INK" -gt "$1" ]; }
field_is_empty() { field_ink && [ "$FIELD_INK" -eq 0 ]; }
activate "$DIALOG"
xdotool key Escape x
poll 5 field_has_more_ink 0 || fail "after Escape, a typed key did not show: the dialog is not open"
ink_after_escape=$FIELD_INK
wmctrl -c ZORVE_gets || fail "wmctrl could not ask to close the dialog"
activate "$DIALOG"
xdotool key y
poll 5 field_has_more_ink "$ink_after_escape" ||
  fail "after the close request, a typed key did not show: the dialog is not open"
xdotool key BackSpace BackSpace
poll 5 field_is_empty || fail "the field did not empty again"

# --- typed text shows in the field; Enter ends the dialog with exactly that text, no
# newline from the multi-line field.
activate "$DIALOG"
xdotool type --delay 20 "Valentine 14"
typed_shown() {
  window_shot "$DIALOG" "$E2E_TMP/dialog_typed.png" &&
    SHOT=$E2E_TMP/dialog_typed.png has_ink $((EX + 8)) $((EY + 2)) $((EW / 2)) $((EH / 2))
}
poll 5 typed_shown || fail "the typed text does not show in the field"
xdotool key Return
expect_line 'gets 1 "Valentine 14"'
poll 5 eval '! window_mapped "$DIALOG"' || fail "the dialog stayed on the screen after Enter"

# --- the second dialog: the "Okay" button clicked with the mouse, the field empty.
poll 10 eval 'WIN=$(xdotool search --onlyvisible --name "^ZORVE_gets\$" 2>/dev/null | head -n 1); [ -n "$WIN" ] && [ "$WIN" != "$DIALOG" ]' ||
  fail "the second dialog did not appear"
DIALOG=$WIN
xdotool mousemove --window "$DIALOG" $((BX0 + BW / 2)) $((BY0 + BH / 2)) click 1
expect_line 'gets 1 ""'

# The next event is the key typed now, not the click made during the first dialog.
activate "$GRAPHICS"
xdotool key x
expect_line "key 120"
wmctrl -i -c "$GRAPHICS" || fail "wmctrl could not ask to close the graphics window"
expect_line quit
probe_exit_status 10
status=$?
[ "$status" -eq 0 ] || fail "the probe exited with $status"
echo "text dialog: all checks passed"
