#!/usr/bin/env bash
# The runtime as a user gets it. An already built tree is installed into a fresh
# prefix; programs are built outside the tree against that installation (a C project
# and a C++ project with find_package, C and C++ with pkg-config) and run without a
# display; a C project builds the runtime from its sources as a subdirectory, with the
# README's lines for that. Every C program, declaration and CMake or pkg-config usage
# shown in README.md and docs/api.md is taken from there and built the same way. Given
# a mingw-w64 cross-built tree too, its installation builds a C program that runs under
# Wine (which needs $DISPLAY, and takes $WINEPREFIX as it is). Everything builds with
# -Wall -Wextra -Werror, as a careful user builds; the installed archives hold machine
# code only, so nothing of the runtime is compiled again in the user's link.
#
#   package_test.sh SOURCE_DIR BUILD_DIR [WINDOWS_BUILD_DIR]
#
# Prints one line per check and exits non-zero if any failed.
set -uo pipefail
src=$(cd "$1" && pwd) || exit 1
build=$(cd "$2" && pwd) || exit 1
win_build=""
if [ $# -ge 3 ]; then win_build=$(cd "$3" && pwd) || exit 1; fi
here=$src/tests/package
jobs=${ZORVE_JOBS:-2}
cc=${CC:-cc}
cxx=${CXX:-c++}
strict="-Wall -Wextra -Werror"
RUN_TIMEOUT=30

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Where the README installs it: "$HOME/zorve", with HOME in the work folder.
home=$work/home
prefix=$home/zorve
. "$here/lib.sh"

# Runs a program and checks its status and what it printed.
expect_run() {
  local want_status=$1 want_output=$2; shift 2
  local output status
  output=$(timeout "$RUN_TIMEOUT" "$@" 2>&1)
  status=$?
  echo "$output"
  [ "$status" -eq "$want_status" ] || { echo "status $status, expected $want_status"; return 1; }
  grep -qF -- "$want_output" <<<"$output" || { echo "expected in the output: $want_output"; return 1; }
}

cmake_project() {
  local dir=$1 out=$2; shift 2
  cmake -S "$dir" -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="$strict" \
    -DCMAKE_CXX_FLAGS="$strict" "$@" && cmake --build "$out" -j "$jobs"
}

# The fenced code blocks of a markdown file, one file each in DIR: block-NN.LANG, LANG
# being the fence's language ("text" when it names none).
extract_blocks() {
  local markdown=$1 dir=$2
  mkdir -p "$dir" || return 1
  awk -v dir="$dir" '
    /^```/ && !inside { inside = 1; n++; lang = substr($0, 4); if (lang == "") lang = "text"
                        file = sprintf("%s/block-%02d.%s", dir, n, lang); printf "" >file; next }
    /^```/ && inside  { inside = 0; close(file); next }
    inside            { print >file }' "$markdown"
}

# C source as one line of its tokens: comments gone, spaces only where words meet.
tokens() {
  "$cc" -fpreprocessed -dD -E -P -x c "$1" 2>/dev/null | tr -s ' \t\n' ' ' |
    sed -E 's/ ?([][{}();,*=]) ?/\1/g'
}

# The README's first program, exactly as the README shows it.
awk '/^```c$/ { inside = 1; next } inside && /^```$/ { exit } inside' "$src/README.md" >"$work/first.c"

installed() {
  cmake --install "$build" --prefix "$prefix" || return 1
  [ -s "$work/first.c" ] || { echo "README.md shows no C program"; return 1; }
  # The package and nothing else: no test, benchmark or designer program comes along.
  local want got
  want=$(printf '%s\n' bin/zorve-run include/zorve.h lib/libzorve.a lib/libzorve-codec.a lib/libzorve-platform.a \
           lib/libzorve-presenter-headless.a lib/libzorve-presenter-fltk.a \
           lib/zorve/presenters-desktop.o lib/zorve/presenters-headless.o \
           lib/pkgconfig/zorve.pc lib/pkgconfig/zorve-headless.pc \
           lib/cmake/zorve/zorveConfig.cmake lib/cmake/zorve/zorveConfigVersion.cmake \
           lib/cmake/zorve/ZorveDependencies.cmake | sort)
  got=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
  [ "$got" = "$want" ] || { echo "installed files differ:"; diff <(echo "$want") <(echo "$got"); return 1; }
  # Machine code only: link-time optimisation code would compile the runtime again in
  # every program's link.
  if readelf -S -W "$prefix"/lib/*.a "$prefix"/lib/zorve/*.o | grep -q '\.gnu\.lto_'; then
    echo "the installed archives carry link-time optimisation code"; return 1
  fi
}

c_find_package() {
  cmake_project "$here/first" "$work/first" -DCMAKE_PREFIX_PATH="$prefix" \
    -DFIRST_SOURCE="$work/first.c"
}

c_pkg_config() {
  local -x PKG_CONFIG_PATH=$prefix/lib/pkgconfig
  # shellcheck disable=SC2046 # the flags are meant to split
  "$cc" $strict -o "$work/first_pc" "$work/first.c" $(pkg-config --cflags --libs zorve) &&
  "$cc" $strict -o "$work/draw_once_pc" "$here/draw_once.c" $(pkg-config --cflags --libs zorve-headless) &&
  "$cxx" $strict -o "$work/cxx_pc" "$here/cxx/main.cpp" $(pkg-config --cflags --libs zorve-headless) ||
    return 1
  # Pictures need no libpng: the package names none, and the programs load none of their own.
  local program
  for program in "$work/first_pc" "$work/draw_once_pc"; do
    if readelf -d "$program" | grep NEEDED | grep -qi png; then
      echo "$program needs libpng itself:"; readelf -d "$program" | grep NEEDED; return 1
    fi
  done
  if grep -il png "$prefix"/lib/pkgconfig/*.pc "$prefix"/lib/cmake/zorve/*.cmake; then
    echo "the package names libpng"; return 1
  fi
}

# Every code block of the README and the reference that a user would build: C programs
# are built and linked, C declarations compiled after zorve.h (a declaration that no
# longer matches the header is an error), CMake projects built with find_package, and
# the pkg-config and CMake command lines run as shown, in a folder holding the file's
# first program as first.c and its CMake project. Only the README's lines for building
# from the sources are left to c_subproject.
docs_build() {
  local -x PKG_CONFIG_PATH=$prefix/lib/pkgconfig
  local markdown dir f out programs declarations usages
  for markdown in README.md docs/api.md; do
    dir=$work/docs/${markdown//\//_}
    extract_blocks "$src/$markdown" "$dir" || return 1
    programs=0 declarations=0 usages=0
    mkdir -p "$dir/run"
    for f in "$dir"/block-*.c; do
      [ -e "$f" ] || continue
      if grep -q 'main(' "$f"; then
        [ -e "$dir/run/first.c" ] || cp "$f" "$dir/run/first.c"
        # shellcheck disable=SC2046 # the flags are meant to split
        "$cc" $strict -o "${f%.c}" "$f" $(pkg-config --cflags --libs zorve-headless) ||
          { echo "$markdown: the program of $(basename "$f") does not build"; return 1; }
        programs=$((programs + 1))
      else
        # A structure cannot be defined twice in C: its definition must be the header's,
        # token for token; the rest is compiled after the header.
        awk -v out="${f%.c}.structs" '/^typedef struct .*\{/ { inside = 1 }
             inside { print >out; if ($0 ~ /^\}/) inside = 0; next } { print }' "$f" >"${f%.c}.rest"
        if [ -e "${f%.c}.structs" ] &&
           ! tokens "$prefix/include/zorve.h" | grep -qF -- "$(tokens "${f%.c}.structs")"; then
          echo "$markdown: a structure of $(basename "$f") differs from zorve.h's"; return 1
        fi
        { echo '#include "zorve.h"'; cat "${f%.c}.rest"; } >"${f%.c}.check.c"
        # shellcheck disable=SC2046
        "$cc" $strict -c -o /dev/null "${f%.c}.check.c" $(pkg-config --cflags zorve-headless) ||
          { echo "$markdown: the declarations of $(basename "$f") differ from zorve.h"; return 1; }
        declarations=$((declarations + 1))
      fi
    done
    [ -e "$dir/run/first.c" ] || { echo "$markdown shows no C program"; return 1; }
    for f in "$dir"/block-*.cmake; do
      [ -e "$f" ] || continue
      grep -q 'add_subdirectory' "$f" && continue
      grep -q '^project(' "$f" || { echo "$markdown: $(basename "$f") is not a whole CMake project"; return 1; }
      out=${f%.cmake}
      mkdir -p "$out" && cp "$f" "$out/CMakeLists.txt" && cp "$dir/run/first.c" "$out/" || return 1
      [ -e "$dir/run/CMakeLists.txt" ] || cp "$f" "$dir/run/CMakeLists.txt"
      cmake_project "$out" "$out/build" -DCMAKE_PREFIX_PATH="$prefix" ||
        { echo "$markdown: the CMake project of $(basename "$f") does not build"; return 1; }
      usages=$((usages + 1))
    done
    for f in "$dir"/block-*.text "$dir"/block-*.sh; do
      [ -e "$f" ] || continue
      grep -qE 'pkg-config|CMAKE_PREFIX_PATH' "$f" || continue
      # As shown, in a shell whose cc (and CMake's) warns as the rest of this test.
      (cd "$dir/run" && rm -rf build &&
        { printf 'cc() { command "%s" %s "$@"; }\n' "$cc" "$strict"; cat "$f"; } >usage.sh &&
        HOME=$home CFLAGS="$strict" bash -e usage.sh) ||
        { echo "$markdown: the commands of $(basename "$f") fail"; return 1; }
      usages=$((usages + 1))
    done
    echo "$markdown: $programs programs, $declarations declaration blocks, $usages usages built"
    [ "$usages" -gt 0 ] || { echo "$markdown shows no CMake or pkg-config usage"; return 1; }
  done
}

cxx_find_package() {
  cmake_project "$here/cxx" "$work/cxx" -DCMAKE_PREFIX_PATH="$prefix"
}

# zorve::zorve holds both presenters: the desktop one without ZORVE_HEADLESS (which,
# with no display, says so and ends with 1), the headless one with it.
runs_desktop_flavour() {
  expect_run 1 "cannot open display" env -u DISPLAY "$work/first/draw_once" &&
  expect_run 0 "started 1 circle 1 text 8" env -u DISPLAY ZORVE_HEADLESS=1 "$work/first/draw_once"
}

runs_headless_flavour() {
  expect_run 0 "started 1 circle 1 text 8" env -u DISPLAY "$work/draw_once_pc" &&
  expect_run 0 "drawn 2" env -u DISPLAY "$work/cxx/cxx_program"
}

# The README's program itself, run headless from a script of one click; the snapshot
# shows the red circle the click drew.
plays_headless() {
  local dir=$work/play
  mkdir -p "$dir" && printf 'ZORVE_MOUSE(50, 50);\n' >"$dir/click.scr" || return 1
  (cd "$dir" && expect_run 0 "" env -u DISPLAY ZORVE_HEADLESS=1 ZORVE_PLAY=click.scr \
                 ZORVE_SNAPSHOT=snapshot.png "$work/first/first") || return 1
  [ "$(head -c 8 "$dir/snapshot.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    { echo "snapshot.png is not a PNG"; return 1; }
  # Counted rather than grep -q: an early grep exit would fail convert's pipe.
  [ "$(convert "$dir/snapshot.png" txt:- | grep -ci '#FF0000')" -gt 0 ] || { echo "no red in snapshot.png"; return 1; }
}

# The graded exercise as a teacher runs it: its loop builds every solution against the
# installed runtime and grades it with the installed zorve-run.
grades_solutions() {
  local dir=$work/grading table
  cp -r "$src/examples/grading" "$dir" || return 1
  table=$(cd "$dir" && PATH=$prefix/bin:$PATH PKG_CONFIG_PATH=$prefix/lib/pkgconfig CC=$cc \
          timeout 120 ./grade.sh solutions)
  local status=$?
  echo "$table"
  [ "$status" -eq 1 ] || { echo "grade.sh ended with $status, expected 1 (two wrong solutions)"; return 1; }
  grep -Eq '^correct +PASS +the picture matches$' <<<"$table" &&
  grep -Eq '^small_circles +DIFFERS +[0-9]+ pixels differ' <<<"$table" &&
  grep -Eq '^no_question +DIFFERS +[0-9]+ pixels differ' <<<"$table" &&
  grep -q '^3 solutions, 1 passed$' <<<"$table" || { echo "not the table expected"; return 1; }
  [ -s "$dir/diffs/small_circles.png" ] && [ -s "$dir/diffs/no_question.png" ] ||
    { echo "no diff images"; return 1; }
}

# The cross-built tree installed the same way: the runtime on Win32 itself.
windows_package() {
  local win_prefix=$work/prefix-win out=$work/first-win
  cmake --install "$win_build" --prefix "$win_prefix" || return 1
  local file
  for file in include/zorve.h lib/libzorve.a lib/libzorve-codec.a lib/pkgconfig/zorve.pc \
              lib/cmake/zorve/zorveConfig.cmake; do
    [ -f "$win_prefix/$file" ] || { echo "not installed: $file"; return 1; }
  done
  cmake_project "$here/first" "$out" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" \
    -DCMAKE_PREFIX_PATH="$win_prefix" -DFIRST_SOURCE="$work/first.c" || return 1
  expect_run 0 "started 1 circle 1 text 8" wine "$out/draw_once.exe"
}

# A C project with the runtime's sources as a subdirectory: our tests and benchmarks
# are not configured, and its program links as C.
c_subproject() {
  local out=$work/subproject jobs=1   # one core: the other checks run meanwhile
  # The README's lines for this, with its placeholder for where the sources are.
  extract_blocks "$src/README.md" "$work/readme_subproject" || return 1
  local usage
  usage=$(grep -l 'add_subdirectory(path/to/zorve' "$work/readme_subproject"/block-*.cmake | head -n 1)
  [ -n "$usage" ] || { echo "README.md shows no add_subdirectory usage"; return 1; }
  sed "s|path/to/zorve|$src|" "$usage" >"$work/subdirectory_usage.cmake" || return 1
  cmake_project "$here/subproject" "$out" -DZORVE_USAGE="$work/subdirectory_usage.cmake" \
    -DFIRST_SOURCE="$work/first.c" || return 1
  if ! grep -q '^ZORVE_TESTS:BOOL=OFF$' "$out/CMakeCache.txt" ||
     ! grep -q '^ZORVE_BENCH:BOOL=OFF$' "$out/CMakeCache.txt" ||
     [ -e "$out/zorve/tests" ] || [ -e "$out/zorve/bench" ]; then
    echo "our tests or benchmarks are part of the parent's build"
    return 1
  fi
  expect_run 0 "started 1 circle 1 text 8" env -u DISPLAY "$out/draw_once"
}

# The subproject builds the runtime anew, the longest check: it runs beside the others.
check_in_background c_subproject c_subproject
check installed installed
if [ "$failed" -eq 0 ]; then
  check c_find_package c_find_package
  check c_pkg_config c_pkg_config
  check cxx_find_package cxx_find_package
  check docs_build docs_build
  check runs_desktop_flavour runs_desktop_flavour
  check runs_headless_flavour runs_headless_flavour
  check plays_headless plays_headless
  check grades_solutions grades_solutions
  [ -n "$win_build" ] && check windows_package windows_package
fi
finish_checks

checks_total "package test"
