#!/usr/bin/env bash
# What grading costs: zorve-run's time over a bare headless run of the same program and
# script (its own cost: starting the program in a process group, reading the report,
# comparing the picture), and grading the seven examples with their scripts one after
# the other on one core. Figures to read, not a test.
#   bench/grading_cost.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
examples=(palette gallery sketch bounce typing question replay paint catch)
reps=${REPS:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now_us() { echo "${EPOCHREALTIME/./}"; }

# Mean microseconds of REPS runs of a command: mean_us COMMAND...
mean_us() {
  local start end i
  start=$(now_us)
  for ((i = 0; i < reps; i++)); do "$@" >/dev/null 2>&1 || true; done
  end=$(now_us)
  echo $(((end - start) / reps))
}

bare() {
  ZORVE_HEADLESS=1 ZORVE_PLAY=examples/scripts/$1.scr ZORVE_SNAPSHOT=$work/bare.png "$build/examples/$1"
}
graded() {
  "$build/zorve-run" --quiet --script "examples/scripts/$1.scr" --expect "tests/data/examples/$1.png" \
    -- "$build/examples/$1"
}

echo "zorve-run over a bare headless run, mean of $reps runs each (microseconds):"
for name in bounce question; do
  b=$(mean_us bare "$name")
  g=$(mean_us graded "$name")
  printf '  %-10s bare %7d   zorve-run %7d   added %6d\n' "$name" "$b" "$g" $((g - b))
done

grade_all() { for name in "${examples[@]}"; do graded "$name"; done; }
start=$(now_us)
taskset -c 0 bash -c "$(declare -f graded grade_all); build=$build; examples=(${examples[*]}); grade_all" >/dev/null
end=$(now_us)
echo "grading the seven examples one after the other on one core: $(((end - start) / 1000)) ms"
