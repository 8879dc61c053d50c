#!/usr/bin/env bash
# Measures the CPU time the probe uses over 10 s of wall time on the desktop presenter:
# animating (a few shapes redrawn per periodic event) and halted. A measurement to
# read, not a test: it prints figures and checks nothing.
#   measure_cpu.sh PROBE [SECONDS]
set -u
PROBE=$1
SPAN=${2:-10}
. "$(dirname "$0")/lib.sh"
start_desktop_here

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }  # utime + stime
hz=$(getconf CLK_TCK)

measure() {
  local label=$1 t0 t1 f0 f1
  shift
  start_probe "$@"
  expect_line ready
  find_probe_window
  sleep 1  # past start-up
  t0=$(cpu_ticks "$PROBE_PID") f0=$(count_lines periodic)
  sleep "$SPAN"
  t1=$(cpu_ticks "$PROBE_PID") f1=$(count_lines periodic)
  echo "$label: $(awk -v t=$((t1 - t0)) -v hz="$hz" -v s="$SPAN" \
    'BEGIN {printf "%.2f s CPU in %d s wall (%.1f%%)", t / hz, s, 100 * t / hz / s}'), $((f1 - f0)) periodic events"
  kill "$PROBE_PID"
  wait "$PROBE_PID" 2>/dev/null
}

measure "animating" --animate
measure "halted"
