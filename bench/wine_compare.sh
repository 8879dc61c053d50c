#!/usr/bin/env bash
# Runs the same drawing workloads on our GDI (platform/) and on Wine's, and prints our
# time over Wine's for each: below 1 means ours is faster.
#
#   bench/wine_compare.sh NATIVE_GDI_COMPARE WINDOWS_GDI_COMPARE_EXE [workload ...]
#
# The first is build/bench/gdi_compare, the second build-win/bench/gdi_compare.exe (a
# cross build configured with -DZORVE_BENCH=ON), run with `wine` as found on PATH, under
# the caller's WINEPREFIX and DISPLAY. It reports; it never fails on a timing, only when
# a program cannot be run.
set -uo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 NATIVE_GDI_COMPARE WINDOWS_GDI_COMPARE_EXE [workload ...]" >&2
  exit 2
fi
native=$1 windows=$2
shift 2

ours=$(mktemp) theirs=$(mktemp)
trap 'rm -f "$ours" "$theirs"' EXIT

if ! "$native" "$@" >"$ours"; then
  echo "wine_compare: $native failed" >&2
  exit 1
fi
# Wine prints its own chatter on stdout now and then; keep only the result lines.
if ! wine "$windows" "$@" | tr -d '\r' | grep -E '^[a-z0-9_]+ [0-9.]+$' >"$theirs"; then
  echo "wine_compare: $windows failed under wine" >&2
  exit 1
fi

awk '
  NR == FNR { wine[$1] = $2; next }
  FNR == 1 { printf "%-16s %12s %12s %10s\n", "workload", "ours us", "wine us", "ours/wine" }
  ($1 in wine) && wine[$1] > 0 {
    r = $2 / wine[$1]
    printf "%-16s %12.1f %12.1f %10.3f  (%.1fx %s)\n", $1, $2 / 1000, wine[$1] / 1000, r,
           r < 1 ? 1 / r : r, r < 1 ? "faster" : "slower"
  }
' "$theirs" "$ours"
