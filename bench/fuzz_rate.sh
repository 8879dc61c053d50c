#!/usr/bin/env bash
# Executions a fuzzer makes per minute, for one or more builds of it compared in one
# run: each binary in turn, ROUNDS times, for SECONDS each, from a copy of the same
# corpus, so that the machine's load falls on all of them alike. Counted per minute of
# the clock and per minute of the CPU the fuzzer used (steadier on a busy machine).
# Figures to read, not a test.
#   bench/fuzz_rate.sh [SECONDS] [ROUNDS] [CORPUS] BINARY...
#   (default: 30 s, 3 rounds, tests/fuzz/api_corpus; e.g. build-fuzz/api_fuzz)
# "fresh:BINARY" runs the whole-API fuzzer with ZORVE_FUZZ_FRESH=1: every input starts
# the runtime afresh, as a new process would.
set -u
cd "$(dirname "$0")/.."
span=${1:-30}
rounds=${2:-3}
corpus=${3:-tests/fuzz/api_corpus}
shift 3 2>/dev/null || shift $#
[ $# -gt 0 ] || { echo "usage: $0 [SECONDS] [ROUNDS] [CORPUS] BINARY..." >&2; exit 1; }
declare -A runs cpu
for ((round = 1; round <= rounds; ++round)); do
  for fuzzer in "$@"; do
    binary=$(realpath "${fuzzer#fresh:}")
    fresh=0; [ "$fuzzer" != "${fuzzer#fresh:}" ] && fresh=1
    work=$(mktemp -d)
    cp -r "$corpus" "$work/corpus"  # absolute: the fuzzer changes folder
    out=$(cd "$work" && ZORVE_FUZZ_FRESH=$fresh /usr/bin/time -f 'cpu %U %S' "$binary" \
            -max_total_time="$span" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work/corpus" 2>&1)
    rm -rf "$work"
    executed=$(grep -o 'number_of_executed_units: [0-9]*' <<<"$out" | grep -o '[0-9]*$')
    seconds=$(awk '$1 == "cpu" {print $2 + $3}' <<<"$out" | tail -n 1)
    runs[$fuzzer]=$(( ${runs[$fuzzer]:-0} + ${executed:-0} ))
    cpu[$fuzzer]=$(awk -v a="${cpu[$fuzzer]:-0}" -v b="${seconds:-0}" 'BEGIN {print a + b}')
    echo "round $round  $fuzzer  ${executed:-?} executions, ${seconds:-?} s of CPU" >&2
  done
done
for fuzzer in "$@"; do
  awk -v s="$fuzzer" -v n="${runs[$fuzzer]}" -v wall=$((span * rounds)) -v c="${cpu[$fuzzer]}" 'BEGIN {
    printf "%-44s %8d a minute  %8d a CPU minute\n", s, n * 60 / wall, (c > 0 ? n * 60 / c : 0) }'
done
