#!/usr/bin/env bash
# What the card designer costs on a desktop (Xvfb): the CPU it uses animating an
# unchanged card, and its resident memory above an empty FLTK window's. Figures to
# read, not a test.
#   bench/desktop_cost.sh [BUILD_FOLDER] [SECONDS]     (default: build, 30)
set -u
cd "$(dirname "$0")/.."
build=${1:-build}
span=${2:-30}
designer=$build/cordelune
empty=$build/bench/fltk_empty_window
[ -x "$designer" ] && [ -x "$empty" ] || { echo "build $designer and $empty first" >&2; exit 1; }
. scripts/lib/common.sh
start_xvfb || exit 1
trap stop_xvfb EXIT
start_window_manager || exit 1

rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
work=$(mktemp -d)

"$empty" & empty_pid=$!
sleep 2
empty_rss=$(rss_kb "$empty_pid")
kill "$empty_pid"

(cd "$work" && exec "$OLDPWD/$designer") & designer_pid=$!
sleep 3  # past start-up: the first frames, fonts, the menu
t0=$(cpu_ticks "$designer_pid")
sleep "$span"
t1=$(cpu_ticks "$designer_pid")
designer_rss=$(rss_kb "$designer_pid")
kill "$designer_pid"
wait "$designer_pid" 2>/dev/null
rm -rf "$work"

awk -v t=$((t1 - t0)) -v hz="$hz" -v s="$span" 'BEGIN {
  printf "cordelune animating an unchanged card: %.2f%% of one core over %d s\n", 100 * t / hz / s, s }'
echo "resident memory: cordelune $((designer_rss / 1024)).$(((designer_rss % 1024) * 10 / 1024)) MB," \
     "an empty FLTK window $((empty_rss / 1024)).$(((empty_rss % 1024) * 10 / 1024)) MB," \
     "$(((designer_rss - empty_rss) / 1024)).$((((designer_rss - empty_rss) % 1024) * 10 / 1024)) MB above"
