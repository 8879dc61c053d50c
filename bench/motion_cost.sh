#!/usr/bin/env bash
# What the mouse's moves cost the paint example on a desktop (Xvfb): its CPU at rest,
# while the pointer moves over the window at 100 moves a second with no button held,
# and while it drags (each move drawn). Figures to read, not a test.
#   bench/motion_cost.sh [BUILD_FOLDER] [SECONDS]     (default: build, 10)
set -u
cd "$(dirname "$0")/.."
build=${1:-build}
span=${2:-10}
paint=$build/examples/paint
[ -x "$paint" ] || { echo "build $paint first" >&2; exit 1; }
. scripts/lib/common.sh
start_xvfb || exit 1
trap stop_xvfb EXIT
start_window_manager || exit 1

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
work=$(mktemp -d)
(cd "$work" && exec "$OLDPWD/$paint") & pid=$!
win=
for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name '^ZORVE Graphics$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "paint showed no window" >&2; kill "$pid"; exit 1; }
sleep 2

# Moves the pointer in a circle over the paper at 100 moves a second for the span.
circle() {
  local n=$((span * 100)) i x y
  for ((i = 0; i < n; i++)); do
    x=$((297 + (i * 7 % 360) - 180)) y=$((250 + (i * 13 % 200) - 100))
    echo "mousemove --window $win $x $y"
    echo "sleep 0.01"
  done | xdotool - >/dev/null 2>&1
}

measure() {
  local label=$1 t0 t1 w0 w1
  shift
  t0=$(cpu_ticks "$pid") w0=$EPOCHREALTIME
  "$@"
  t1=$(cpu_ticks "$pid") w1=$EPOCHREALTIME
  awk -v t=$((t1 - t0)) -v hz="$hz" -v w0="$w0" -v w1="$w1" -v label="$label" \
    'BEGIN { printf "%-30s %.2f%% of one core over %.1f s\n", label ":", 100 * t / hz / (w1 - w0), w1 - w0 }'
}

measure "at rest" sleep "$span"
measure "moving, no button held" circle
xdotool mousemove --window "$win" 297 250 mousedown 1
measure "dragging (every move drawn)" circle
xdotool mouseup 1
kill "$pid"
wait "$pid" 2>/dev/null
rm -rf "$work"
