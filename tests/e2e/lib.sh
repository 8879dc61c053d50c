# Shared by the end-to-end scripts: an X display with a window manager, the probe
# program, waiting for its output lines, and cleaning up whatever was started.
#
# Every wait is bounded; on failure the script stops, says why, shows the probe's
# output, and the EXIT trap ends every process it started.

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/zorve-e2e.XXXXXX")
E2E_PIDS=()          # processes to end on exit, newest last
PROBE_PID=
PROBE_OUT=$E2E_TMP/probe.out
PROBE_ERR=$E2E_TMP/probe.err
READ_POS=0           # lines of the probe's output already checked
MENU_BAR_HEIGHT=19   # the client area starts below the menu bar
KEEP_TMP=0
[ -z "${E2E_KEEP:-}" ] || KEEP_TMP=1  # E2E_KEEP set: screenshots and logs stay after a pass too
E2E_SCREEN=${E2E_SCREEN:-1280x1024x24}  # of the private display, when one is started
# Windows at their own size, whatever scale the machine's settings ask for; the scale
# test sets its own.
export ZORVE_SCALE=1
unset GDK_SCALE

e2e_cleanup() {
  local i
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    kill "${E2E_PIDS[i]}" 2>/dev/null
  done
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    wait "${E2E_PIDS[i]}" 2>/dev/null
  done
  if [ "$KEEP_TMP" = 1 ]; then echo "files kept in $E2E_TMP" >&2; else rm -rf "$E2E_TMP"; fi
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$PROBE_OUT" ]; then echo "--- probe stdout:" >&2; cat "$PROBE_OUT" >&2; fi
  if [ -s "$PROBE_ERR" ]; then echo "--- probe stderr:" >&2; cat "$PROBE_ERR" >&2; fi
  KEEP_TMP=1
  exit 1
}

# Tools the desktop tests use, with the Debian package that brings each.
require_tools() {
  local tool pkg missing=()
  for pair in xdotool:xdotool xwininfo:x11-utils xprop:x11-utils xdpyinfo:x11-utils \
              import:imagemagick convert:imagemagick openbox:openbox wmctrl:wmctrl Xvfb:xvfb; do
    tool=${pair%%:*} pkg=${pair#*:}
    command -v "$tool" >/dev/null 2>&1 || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] || fail "missing tools; install: apt-get install ${missing[*]}"
}

# Microseconds on the wall clock.
now_us() { echo "${EPOCHREALTIME/./}"; }

# Polls a command until it succeeds, for at most SECONDS: poll SECONDS COMMAND...
poll() {
  local deadline=$(($(now_us) + $1 * 1000000))
  shift
  while :; do
    "$@" && return 0
    [ "$(now_us)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# Uses the DISPLAY given (scripts/test starts Xvfb), or starts a private Xvfb.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  # Xvfb picks a free display number itself, so tests started side by side never
  # end up on one another's server. -noreset: by default the server resets when its
  # last client leaves, and a test that connects during the reset finds no server.
  local fifo="$E2E_TMP/displayfd" n=""
  mkfifo "$fifo" || fail "cannot make $fifo"
  Xvfb -displayfd 3 -screen 0 "$E2E_SCREEN" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  read -r -t 20 n <"$fifo"
  rm -f "$fifo"
  [ -n "$n" ] || fail "Xvfb did not start"
  export DISPLAY=":$n"
  poll 10 xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not answer on :$n"
}

wm_running() {
  local id
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # //p')
  [ -n "$id" ] && xprop -id "$id" _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1
}

# The close request and window activation need a window manager; starts openbox when
# the display has none.
ensure_window_manager() {
  wm_running && return 0
  openbox --sm-disable >"$E2E_TMP/wm.log" 2>&1 &
  E2E_PIDS+=($!)
  poll 10 wm_running || fail "openbox did not start (see $E2E_TMP/wm.log)"
}

# What every desktop test needs first: its tools, a display with a window manager, and
# (start_desktop) the test's own temporary folder as working directory.
start_desktop_here() {
  require_tools
  ensure_display
  ensure_window_manager
}
start_desktop() {
  start_desktop_here
  cd "$E2E_TMP" || fail "no temporary folder"
}

start_probe() {
  "$PROBE" "$@" >"$PROBE_OUT" 2>"$PROBE_ERR" &
  PROBE_PID=$!
  E2E_PIDS+=("$PROBE_PID")
  READ_POS=0
}

probe_alive() { kill -0 "$PROBE_PID" 2>/dev/null; }

# The probe's exit status, waiting at most SECONDS for it to exit.
probe_exit_status() {
  poll "$1" eval '! probe_alive' || fail "the probe did not exit"
  wait "$PROBE_PID"
}

# Reads the next line of the probe's output past READ_POS into NEXT_LINE, skipping
# "periodic" lines when asked: next_line SECONDS [skip-periodic]. False when none came
# in time or the probe exited without printing one.
next_line() {
  local deadline=$(($(now_us) + $1 * 1000000)) skip=${2:-} line dead=0
  NEXT_LINE=
  while :; do
    while line=$(sed -n "$((READ_POS + 1))p" "$PROBE_OUT"); [ -n "$line" ]; do
      READ_POS=$((READ_POS + 1))
      [ "$skip" = skip-periodic ] && [ "$line" = periodic ] && continue
      NEXT_LINE=$line
      return 0
    done
    [ "$dead" = 1 ] && return 1
    probe_alive || { dead=1; continue; }  # one more pass reads its last lines
    [ "$(now_us)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# Fails unless the probe's next line is EXPECTED: expect_line EXPECTED [skip-periodic]
expect_line() {
  next_line 10 "${2:-}"
  [ "$NEXT_LINE" = "$1" ] || fail "expected \"$1\", got \"${NEXT_LINE:-nothing}\""
}

# Lines of probe output so far that equal TEXT.
count_lines() { grep -cx "$1" "$PROBE_OUT"; }

# Sets WIN to the graphics window's X id, once the probe has shown it.
find_probe_window() {
  WIN=
  poll 10 eval 'WIN=$(xdotool search --onlyvisible --name "^ZORVE Graphics$" 2>/dev/null | head -n 1); [ -n "$WIN" ]' ||
    fail "the window \"ZORVE Graphics\" did not appear"
}

# Absolute screen position of a window's top-left inner corner: "X Y".
window_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}'
}

# Gives the window the keyboard.
activate() {
  local win=$1
  timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1 ||
    timeout 5 xdotool windowfocus --sync "$win" >/dev/null 2>&1
  poll 5 eval '[ "$(xdotool getwindowfocus)" = "$win" ]' || fail "window $win did not get the keyboard focus"
}

# Left click at a point of the client area (below the menu bar): click_client WINDOW X Y
click_client() {
  xdotool mousemove --window "$1" "$2" $(($3 + MENU_BAR_HEIGHT)) click 1
}

# "R,G,B" of pixels of an image, one line each: pixels_of FILE X1 Y1 X2 Y2 ...
pixels_of() {
  local file=$1 format= x y
  shift
  while [ $# -ge 2 ]; do
    x=$1 y=$2
    shift 2
    format+="%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]\n"
  done
  convert "$file" -format "$format" info:
}

# Screenshot of the client area of a window (below its menu bar): client_shot WIN FILE
client_shot() {
  local ox oy w h
  read -r ox oy <<<"$(window_origin "$1")"
  read -r _ _ w h <<<"$(window_box "$1")"
  import -window root -crop "${w}x$((h - MENU_BAR_HEIGHT))+${ox}+$((oy + MENU_BAR_HEIGHT))" +repage "$2" 2>/dev/null
}

# "X Y W H" of a window on the screen.
window_box() {
  xdotool getwindowgeometry "$1" 2>/dev/null |
    awk '/Position:/ {split($2, p, ",")} /Geometry:/ {split($2, g, "x")} END {print p[1], p[2], g[1], g[2]}'
}

visible_top_windows() { xdotool search --onlyvisible --maxdepth 1 --name '' 2>/dev/null | sort; }

# Clicks the menu bar's first title and sets MENU_BOX to "X Y W H" of the popup that
# opens: the tallest of the windows that appeared.
open_first_menu() {
  local win=$1 before
  before=$(visible_top_windows)
  xdotool mousemove --window "$win" 15 $((MENU_BAR_HEIGHT / 2)) click 1
  MENU_BOX=
  poll 5 eval 'new_menu_box "$before"' || fail "no menu opened on a click on the menu bar"
}
new_menu_box() {
  local before=$1 id box best=0
  for id in $(comm -13 <(echo "$before") <(visible_top_windows)); do
    box=$(window_box "$id")
    set -- $box
    [ -n "${4:-}" ] && [ "$4" -gt "$best" ] && best=$4 MENU_BOX=$box
  done
  [ "$best" -gt 0 ]
}

# Screen point at the middle of item INDEX of COUNT in the open popup.
menu_item_point() {
  local x y w h
  read -r x y w h <<<"$MENU_BOX"
  echo $((x + 30)) $((y + (2 * $1 + 1) * h / (2 * $2)))
}

# Sets WIN to the X id of the visible window titled exactly TITLE: wait_window TITLE
wait_window() {
  local title=$1
  WIN=
  poll 10 eval 'WIN=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1); [ -n "$WIN" ]' ||
    fail "the window \"$title\" did not appear"
}

window_mapped() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

# Screenshot of a window's whole inside (a window without a menu bar): window_shot WIN FILE
window_shot() {
  local ox oy w h
  read -r ox oy <<<"$(window_origin "$1")"
  read -r _ _ w h <<<"$(window_box "$1")"
  import -window root -crop "${w}x${h}+${ox}+${oy}" +repage "$2" 2>/dev/null
}

# Ink (pixels darker than mid-grey) in a rectangle of an image, as "COUNT LEFT RIGHT
# TOP BOTTOM" in image coordinates (the extremes are -1 without ink):
#   ink_in FILE X Y W H
ink_in() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace Gray -depth 8 -compress none pgm:- |
    awk -v ox="$2" -v oy="$3" '
      { for (i = 1; i <= NF; i++) t[n++] = $i }
      END {
        w = t[1]; h = t[2]; count = 0; left = right = top = bottom = -1
        for (k = 0; k < w * h; k++) {
          if (t[4 + k] >= 128) continue
          x = k % w + ox; y = int(k / w) + oy; count++
          if (left < 0 || x < left) left = x
          if (x > right) right = x
          if (top < 0) top = y
          bottom = y
        }
        print count, left, right, top, bottom
      }'
}

# Whether two rectangles of two images hold the same pixels: same_pixels A GEOMETRY_A B GEOMETRY_B
same_pixels() {
  convert "$1" -crop "$2" +repage "$E2E_TMP/same_a.png" &&
    convert "$3" -crop "$4" +repage "$E2E_TMP/same_b.png" &&
    same_image "$E2E_TMP/same_a.png" "$E2E_TMP/same_b.png"
}

# Whether two images hold the same pixels: same_image A B
same_image() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

# Screenshots until two in a row, a quarter second apart, are the same; the last one
# goes to FILE. A program that draws only on an event (the designer with its animation
# halted) then shows every event so far. SHOOT... takes a screenshot into the file
# named after its words: settle FILE SHOOT...
settle() {
  local file=$1 previous=$E2E_TMP/settle_a.png current=$E2E_TMP/settle_b.png deadline
  shift
  deadline=$(($(now_us) + 15000000))
  "$@" "$previous"
  while :; do
    sleep 0.25
    "$@" "$current"
    if same_image "$previous" "$current"; then
      cp "$current" "$file"
      return 0
    fi
    [ "$(now_us)" -lt "$deadline" ] || fail "the window did not settle within 15 s"
    cp "$current" "$previous"
  done
}
# The client area of the window WIN, settled: settled_client_shot FILE
settled_client_shot() { settle "$1" client_shot "$WIN"; }

# ---- the card designer ------------------------------------------------------------------
# What the designer's tests share: its coordinates, its buttons, screenshots of its
# client area and checks of their pixels.

# Runtime coordinates (origin at the client area's centre, y upwards) to client ones,
# which are also the coordinates in a screenshot of the client area.
cx() { echo $((297 + $1)); }
cy() { echo $((248 - $1)); }
click_at() { click_client "$WIN" "$(cx "$1")" "$(cy "$2")"; }

# Panel buttons: left edge -290, tops top first; a click lands in the middle.
BUTTON_TOPS=(230 192 137 82 44 -11 -49)
NEW_SHAPE=0 NEW_MESSAGE=1 NEXT_OBJECT=2 BACKGROUND_COLOR=3 OBJECT_COLOR=4 SELECT_OBJECT=5 DELETE_OBJECT=6
click_button() { click_at -242 $((BUTTON_TOPS[$1] - 17)); }
# A point of a button's white top highlight, flat gray while it shows pressed.
HIGHLIGHT_X=-285
highlight_y() { echo $((BUTTON_TOPS[$1] - 1)); }

TURQUOISE=153,255,204 RED=255,0,0 GREEN=0,255,0 ORANGE=255,102,0 GRAY20=204,204,204
WHITE=255,255,255 BLACK=0,0,0 GRAY50=128,128,128

# Starts the designer and finds its window (WIN, and its size WIN_W x WIN_H).
start_designer() {
  start_probe "$@"
  find_probe_window
  read -r _ _ WIN_W WIN_H <<<"$(window_box "$WIN")"
}
# The client area (below the menu bar) into FILE, grabbing only the window: the tests
# take dozens of these, and on a busy machine every process counts.
shot() {
  import -window "$WIN" -crop "${WIN_W}x$((WIN_H - MENU_BAR_HEIGHT))+0+$MENU_BAR_HEIGHT" +repage "$1" 2>/dev/null
}
# Whether image FILE shows every "X Y R,G,B" of $PIXELS (runtime points); what does not
# goes to MISMATCH.
shot_shows() {
  local file=$1 x y want points=() wants=() got i
  while read -r x y want; do
    [ -z "$x" ] && continue
    points+=("$x $y") wants+=("$want")
  done <<<"$PIXELS"
  got=($(pixels_of "$file" $(for i in "${!points[@]}"; do
           read -r x y <<<"${points[i]}"; echo "$(cx "$x") $(cy "$y")"
         done)))
  MISMATCH=
  for i in "${!points[@]}"; do
    [ "${got[i]:-}" = "${wants[i]}" ] || MISMATCH+=" (${points[i]/ /,}): ${got[i]:-nothing}, not ${wants[i]};"
  done
  [ -z "$MISMATCH" ]
}
screen_shows() { shot "$E2E_TMP/shot.png" && shot_shows "$E2E_TMP/shot.png"; }
# The client area, settled: settled_shot FILE
settled_shot() { settle "$1" shot; }
# expect WHAT, then lines "X Y R,G,B": polls the screen until all of them show; the
# screenshot is kept under a name made from WHAT.
expect() {
  local what=$1
  PIXELS=$(cat)
  poll 10 screen_shows || fail "$what:$MISMATCH"
  cp "$E2E_TMP/shot.png" "$E2E_TMP/$(echo "$what" | tr -c 'a-zA-Z0-9\n' _ | head -c 40).png"
}
# Whether a box of runtime points (left bottom right top) of image FILE holds R,G,B.
box_has() {
  local file=$1 l=$2 b=$3 r=$4 t=$5 hex
  hex=$(IFS=, && printf '#%02X%02X%02X' $6)
  [ "$(convert "$file" -crop "$((r - l + 1))x$((t - b + 1))+$(cx "$l")+$(cy "$t")" +repage \
        -unique-colors txt:- 2>/dev/null | grep -c "$hex")" -gt 0 ]
}

# ---- a window's name and icon ------------------------------------------------------------

# Fails unless window WIN's WM_CLASS names NAME, as FLTK writes it: the instance NAME,
# the class NAME with its first letter in capitals.
expect_window_class() {
  local win=$1 name=$2 class
  class=$(xprop -id "$win" WM_CLASS 2>&1)
  [ "$class" = "WM_CLASS(STRING) = \"$name\", \"${name^}\"" ] ||
    fail "window $win: $class, expected the class \"$name\""
}

# _NET_WM_ICON of window WIN as "SIZE CENTRE CORNER" lines, one per image: its width
# and height when equal (else "WxH"), and its centre and top-left pixels as 0xAARRGGBB.
# Nothing when the window has no icon.
window_icons() {
  xprop -id "$1" -notype -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON 2>/dev/null |
    sed -n 's/^_NET_WM_ICON=//p' | tr -d ' ' | tr ',' '\n' |
    awk 'NF { v[n++] = $1 }
         END {
           for (i = 0; i + 1 < n; i += 2 + w * h) {
             w = v[i]; h = v[i + 1]
             size = (w == h) ? w : w "x" h
             printf "%s 0x%08X 0x%08X\n", size, v[i + 2 + int(h / 2) * w + int(w / 2)], v[i + 2]
           }
         }'
}

# Fails unless window WIN shows the heart icon: images of 16 and 32 pixels, each with an
# opaque red centre and a transparent corner.
expect_heart_icon() {
  local win=$1 icons size
  icons=$(window_icons "$win")
  for size in 16 32; do
    grep -qx "$size 0xFFFF0000 0x00[0-9A-F]*" <<<"$icons" ||
      fail "window $win: no $size-pixel heart in _NET_WM_ICON (images: ${icons:-none})"
  done
}

# ---- a session recorded in the window, played back headless -----------------------------
# For a program ($PROBE) that records its events into ZORVE.SCR of its working directory
# (start_desktop's folder) between two Ctrl+R, and the zorve-run that plays them back
# ($ZORVE_RUN).
SCRIPT=$E2E_TMP/ZORVE.SCR

# Starts the program and its recording.
start_recording() {
  start_probe
  find_probe_window
  activate "$WIN"
  xdotool key ctrl+r
}
# Ends the recording and the program, the client area once settled kept in recorded.png.
end_recording() {
  settled_client_shot "$E2E_TMP/recorded.png"
  activate "$WIN"
  xdotool key ctrl+r ctrl+q
  probe_exit_status 10 || fail "the recording run did not end with 0 after Ctrl+Q"
}
# The recording played back headless must end on recorded.png.
expect_headless_playback() {
  "$ZORVE_RUN" --script "$SCRIPT" --expect "$E2E_TMP/recorded.png" --diff "$E2E_TMP/headless-diff.png" \
    -- "$PROBE" >"$E2E_TMP/zorve-run.out" || fail "headless playback: $(cat "$E2E_TMP/zorve-run.out")"
}
