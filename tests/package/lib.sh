# The check runner of the package tests: each check a shell function, its output kept in
# a log in $work (the sourcing script's temporary folder) and shown only when it fails;
# passed and failed count them, checks_total says the count at the end.

passed=0
failed=0

# Runs one check: check NAME COMMAND...
check() {
  local name=$1 start=$SECONDS; shift
  if "$@" >"$work/$name.log" 2>&1; then
    echo "ok      $name ($((SECONDS - start)) s)"
    passed=$((passed + 1))
  else
    echo "FAILED  $name"
    tail -n 40 "$work/$name.log" | sed 's/^/        /'
    failed=$((failed + 1))
  fi
}

# Starts a check in the background; finish_checks reports it.
background=()
check_in_background() {
  (check "$@") >"$work/$1.result" &
  background+=("$1:$!")
}

finish_checks() {
  local entry
  for entry in "${background[@]}"; do
    wait "${entry#*:}"
    cat "$work/${entry%%:*}.result"
    if grep -q '^ok' "$work/${entry%%:*}.result"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
  done
}

# The last line, "WHAT: N passed, M failed"; false if any check failed.
checks_total() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
