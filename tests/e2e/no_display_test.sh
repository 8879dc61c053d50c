#!/usr/bin/env bash
# Without a display the desktop program says so and exits with status 1, for DISPLAY
# unset as for a display that cannot be opened.
#   no_display_test.sh PROBE
set -u
PROBE=$1
out=$(mktemp)
trap 'rm -f "$out"' EXIT
failed=0

check() {
  local what=$1 status
  shift
  timeout 20 "$@" "$PROBE" >/dev/null 2>"$out"
  status=$?
  if [ "$status" -ne 1 ]; then
    echo "FAIL ($what): exit status $status, not 1" >&2
    failed=1
  fi
  if ! head -n 1 "$out" | grep -q '^cannot open display'; then
    echo "FAIL ($what): stderr does not start with \"cannot open display\":" >&2
    cat "$out" >&2
    failed=1
  fi
}

check "DISPLAY unset" env -u DISPLAY
check "DISPLAY bogus" env DISPLAY=:4095
[ "$failed" -eq 0 ] && echo "no display: all checks passed"
exit "$failed"
