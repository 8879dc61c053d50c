#!/usr/bin/env bash
# Without a display the desktop program says so and exits with status 1, for DISPLAY
# unset as for a display that cannot be opened, and when ZORVE_HEADLESS says no; when
# ZORVE_HEADLESS says yes, in any of its spellings, it runs without one and ends well.
#   no_display_test.sh PROBE
set -u
PROBE=$1
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failed=0

check() {
  local what=$1 status
  shift
  timeout 20 "$@" "$PROBE" >/dev/null 2>"$err"
  status=$?
  if [ "$status" -ne 1 ]; then
    echo "FAIL ($what): exit status $status, not 1" >&2
    failed=1
  fi
  if ! head -n 1 "$err" | grep -q '^cannot open display'; then
    echo "FAIL ($what): stderr does not start with \"cannot open display\":" >&2
    cat "$err" >&2
    failed=1
  fi
}

# With nothing to play and nobody to click, the headless run ends by closing the window.
check_headless() {
  local what=$1 status
  shift
  timeout 20 "$@" "$PROBE" >"$out" 2>"$err"
  status=$?
  if [ "$status" -ne 0 ] || ! grep -qx quit "$out" || [ -s "$err" ]; then
    echo "FAIL ($what): exit status $status, stdout and stderr:" >&2
    cat "$out" "$err" >&2
    failed=1
  fi
}

check "DISPLAY unset" env -u DISPLAY
check "DISPLAY bogus" env DISPLAY=:4095
check "ZORVE_HEADLESS=0" env -u DISPLAY ZORVE_HEADLESS=0
check_headless "ZORVE_HEADLESS=1" env -u DISPLAY ZORVE_HEADLESS=1
check_headless "ZORVE_HEADLESS=On" env -u DISPLAY ZORVE_HEADLESS=On
[ "$failed" -eq 0 ] && echo "no display: all checks passed"
exit "$failed"
