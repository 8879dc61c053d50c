#!/usr/bin/env bash
# The real card designer on the desktop, used as a person would: clicks on the panel's
# buttons and on the card, checked on screenshots; Ctrl+Q ends it with status 0.
#   designer_desktop_test.sh CORDELUNE                 the test
#   designer_desktop_test.sh CORDELUNE --measure-idle  prints the CPU share the designer
#                                                       uses idling over 10 s with a
#                                                       typical card (no pass or fail)
set -u
PROBE=$1
MODE=${2:-test}
. "$(dirname "$0")/lib.sh"
[ -n "${E2E_KEEP:-}" ] && KEEP_TMP=1  # keeps the screenshots of every step
start_desktop

# In a folder of its own, where Ctrl+G writes its animation.
cd "$E2E_TMP"
start_designer

expect "the first frame" <<EOF
0 0 $TURQUOISE
219 199 $TURQUOISE
250 -240 $GRAY50
$HIGHLIGHT_X $(highlight_y $NEW_SHAPE) $GRAY20
$HIGHLIGHT_X $(highlight_y $NEW_MESSAGE) $WHITE
EOF

if [ "$MODE" = --measure-idle ]; then
  # A typical card: three hearts, two messages and a starburst, one of them selected.
  for p in "-80 120" "0 120" "80 120"; do click_button $NEW_SHAPE; click_at $p; sleep 0.2; done
  for p in "-100 -60" "40 -100"; do click_button $NEW_MESSAGE; click_at $p; sleep 0.2; done
  click_button $NEW_SHAPE; click_at 150 20; sleep 0.2; click_button $NEXT_OBJECT
  sleep 1
  import -window root "$E2E_TMP/typical_card.png" 2>/dev/null
  ticks=$(getconf CLK_TCK)
  cpu() { awk '{print $14 + $15}' "/proc/$PROBE_PID/stat"; }
  start=$(cpu) t0=$(date +%s.%N)
  sleep 10
  end=$(cpu) t1=$(date +%s.%N)
  awk -v c=$((end - start)) -v hz="$ticks" -v t0="$t0" -v t1="$t1" \
    'BEGIN {printf "cordelune idling with the animation running: %.2f%% of one core over %.1f s\n", 100 * c / hz / (t1 - t0), t1 - t0}'
  activate "$WIN"
  xdotool key ctrl+q
  probe_exit_status 10
  exit 0
fi

# Halt the animation, so that a momentary button's pressed look stays on the screen
# until the next click instead of one tick.
activate "$WIN"
xdotool key ctrl+h

click_at 0 0
expect "a click on the card adds a red heart" <<EOF
0 0 $RED
0 -20 $RED
-35 -30 $BLACK
$HIGHLIGHT_X $(highlight_y $NEW_SHAPE) $WHITE
EOF

click_button $NEW_MESSAGE
expect "New Message stays pressed" <<EOF
$HIGHLIGHT_X $(highlight_y $NEW_MESSAGE) $GRAY20
-35 -30 $TURQUOISE
EOF
click_at -100 -100
expect "a message is added" <<EOF
$HIGHLIGHT_X $(highlight_y $NEW_MESSAGE) $WHITE
EOF
box_has "$E2E_TMP/shot.png" -100 -100 -40 -80 0,0,255 || fail "no blue message on the card"

click_button $NEXT_OBJECT
expect "Next Object shows pressed" <<EOF
$HIGHLIGHT_X $(highlight_y $NEXT_OBJECT) $GRAY20
EOF

click_button $OBJECT_COLOR
expect "Object Color shows pressed, Next Object no longer" <<EOF
$HIGHLIGHT_X $(highlight_y $OBJECT_COLOR) $GRAY20
$HIGHLIGHT_X $(highlight_y $NEXT_OBJECT) $WHITE
EOF
box_has "$E2E_TMP/shot.png" -100 -100 -20 -80 255,255,0 || fail "the message did not turn yellow"

click_button $BACKGROUND_COLOR
expect "Background Color turns the card orange" <<EOF
150 -120 $ORANGE
$HIGHLIGHT_X $(highlight_y $BACKGROUND_COLOR) $GRAY20
$HIGHLIGHT_X $(highlight_y $OBJECT_COLOR) $WHITE
0 0 $RED
EOF

click_button $SELECT_OBJECT
expect "Select Object stays pressed" <<EOF
$HIGHLIGHT_X $(highlight_y $SELECT_OBJECT) $GRAY20
EOF
click_at 0 0
expect "a click on the heart selects it" <<EOF
$HIGHLIGHT_X $(highlight_y $SELECT_OBJECT) $WHITE
-35 -30 $BLACK
EOF

click_button $DELETE_OBJECT
expect "Delete Object removes the heart" <<EOF
0 0 $ORANGE
0 -20 $ORANGE
$HIGHLIGHT_X $(highlight_y $DELETE_OBJECT) $GRAY20
EOF
box_has "$E2E_TMP/shot.png" -100 -100 -20 -80 255,255,0 || fail "the message went with the heart"

click_button $NEW_SHAPE
expect "New Shape stays pressed" <<EOF
$HIGHLIGHT_X $(highlight_y $NEW_SHAPE) $GRAY20
$HIGHLIGHT_X $(highlight_y $DELETE_OBJECT) $WHITE
EOF
click_at 100 100
expect "a click on the card adds another heart" <<EOF
100 100 $RED
100 80 $RED
$HIGHLIGHT_X $(highlight_y $NEW_SHAPE) $WHITE
EOF

# Ctrl+G writes the next 30 frames (three seconds) as ZORVE1.gif in the working folder,
# a GIF that ImageMagick reads as three seconds of the window's picture, looping for ever.
activate "$WIN"
xdotool key ctrl+g
poll 15 test -f ZORVE1.gif || fail "Ctrl+G wrote no ZORVE1.gif"
# Every image on a 595 x 496 picture, and their delays (hundredths of a second) make
# 30 ticks of 100 ms.
read -r sizes total <<<"$(identify -format '%Wx%H %T\n' ZORVE1.gif 2>/dev/null |
  awk '{ sizes[$1] = 1; total += $2 } END { n = 0; for (s in sizes) { n++; one = s }; print (n == 1 ? one : "mixed"), total }')"
[ "$sizes" = 595x496 ] && [ "$total" = 300 ] || fail "ZORVE1.gif is not 3 s of 595 x 496: $sizes, $total cs"
identify -verbose ZORVE1.gif 2>/dev/null | grep -q "Iterations: 0" || fail "ZORVE1.gif does not loop for ever"

activate "$WIN"
xdotool key ctrl+q
probe_exit_status 10
status=$?
[ "$status" -eq 0 ] || fail "cordelune exited with $status after Ctrl+Q"
[ -z "$(cat "$PROBE_ERR")" ] || fail "cordelune wrote on stderr"
echo "designer desktop: all checks passed"
