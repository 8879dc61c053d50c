#!/bin/sh
# Grades a folder of solutions to the exercise in README.md: builds each NAME.c against
# the installed runtime (pkg-config zorve-headless), runs it headless under the
# exercise's script with zorve-run, compares its picture with reference.png, and prints
# one row per solution. Solutions are graded side by side, one per core.
#
#   grade.sh [SOLUTIONS_FOLDER]     default: the solutions/ folder next to this script
#
# Environment: ZORVE_RUN (default: zorve-run from the PATH), CC (default: cc), JOBS
# (default: the number of cores). The diff image of a solution whose picture differs is
# left in diffs/NAME.png in the current folder. Exits with 0 when every solution passed.
set -u
here=$(cd "$(dirname "$0")" && pwd)

# One solution: its row, "NAME VERDICT REASON", on one line.
if [ "${1:-}" = "--one" ]; then
    source=$2
    name=$(basename "$source" .c)
    program=$GRADE_WORK/$name
    if ! ${CC:-cc} -std=c11 -o "$program" "$source" $(pkg-config --cflags --libs zorve-headless) \
         >"$program.build.log" 2>&1; then
        printf '%s\tBUILD\t%s\n' "$name" "$(head -n 1 "$program.build.log")"
        exit 0
    fi
    verdict=$("${ZORVE_RUN:-zorve-run}" --quiet --timeout 20 --script "$here/exercise.scr" \
              --expect "$here/reference.png" --diff "diffs/$name.png" -- "$program")
    # zorve-run's summary line: "VERDICT: PROGRAM: REASON"
    printf '%s\t%s\t%s\n' "$name" "${verdict%%:*}" "${verdict#*: *: }"
    exit 0
fi

solutions=${1:-$here/solutions}
GRADE_WORK=$(mktemp -d)
export GRADE_WORK
trap 'rm -rf "$GRADE_WORK"' EXIT
mkdir -p diffs
jobs=${JOBS:-$(getconf _NPROCESSORS_ONLN 2>/dev/null || echo 2)}

find "$solutions" -maxdepth 1 -name '*.c' | sort |
    xargs -P "$jobs" -n 1 "$0" --one >"$GRADE_WORK/rows"

printf '%-20s %-10s %s\n' solution verdict reason
sort "$GRADE_WORK/rows" | while IFS="$(printf '\t')" read -r name verdict reason; do
    printf '%-20s %-10s %s\n' "$name" "$verdict" "$reason"
done
total=$(wc -l <"$GRADE_WORK/rows")
passed=$(grep -c "	PASS	" "$GRADE_WORK/rows")
printf '%d solutions, %d passed\n' "$total" "$passed"
[ "$total" -eq "$passed" ]
