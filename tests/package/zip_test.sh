#!/usr/bin/env bash
# The Windows zip as a person gets it: made from the cross-built tree with CPack and
# unpacked. cordelune.exe carries the project's version and the heart icon as resources
# (read under Wine, as Windows reads them, by resource_probe.exe); started from the
# unpacked folder under Wine on the display, it plays the designer's script, draws the
# card, shows the heart as its window's icon, and when its window is closed it quits,
# leaving the picture and the run report asked for. The examples and the SDK are there.
#   zip_test.sh SOURCE_DIR WINDOWS_BUILD_DIR RESOURCE_PROBE_EXE
# Needs Wine ($WINEPREFIX as it is) and an X display with a window manager.
set -u
src=$1
build=$2
probe=$3
. "$src/tests/e2e/lib.sh"
start_desktop
version=$(sed -nE 's/^project\(zorve VERSION ([0-9.]+).*/\1/p' "$src/CMakeLists.txt")
name=cordelune-$version-win64

mkdir cpack && (cd cpack && cpack --config "$build/CPackConfig.cmake" -B "$PWD") >cpack.log 2>&1 ||
  { cat cpack.log >&2; fail "cpack could not make the zip"; }
zip=$E2E_TMP/cpack/packages/$name.zip
[ -f "$zip" ] || fail "no $name.zip: $(ls "$E2E_TMP/cpack/packages")"
mkdir unpacked && (cd unpacked && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
top=$E2E_TMP/unpacked/$name
for file in cordelune.exe examples/palette.exe examples/catch.exe examples/scripts/palette.scr \
            include/zorve.h lib/libzorve.a lib/libzorve-codec.a lib/pkgconfig/zorve.pc \
            lib/cmake/zorve/zorveConfig.cmake lib/cmake/zorve/zorveConfigVersion.cmake; do
  [ -f "$top/$file" ] || fail "not in the zip: $file ($(cd unpacked && find . -type f | head -n 40))"
done
[ "$(find unpacked -name '*test*' -o -name '*bench*' | wc -l)" = 0 ] || fail "tests or benchmarks in the zip"

# The resources, with the version split as Windows keeps it.
resources=$(wine "$probe" "$top/cordelune.exe" 2>/dev/null | tr -d '\r')
echo "$resources"
grep -qx "file version $version.0" <<<"$resources" || fail "cordelune.exe's file version is not $version"
grep -qx "product version $version" <<<"$resources" || fail "cordelune.exe's product version is not $version"
for size in 16 32 48 256; do
  grep -qx "icon $size: ${size}x$size centre FFFF0000" <<<"$resources" ||
    fail "cordelune.exe has no $size-pixel heart icon"
done

# The designer from the zip, under Wine, with the script of the build's designer test.
cp "$src/tests/data/designer_card.scr" card.scr
ZORVE_PLAY=card.scr ZORVE_SNAPSHOT=card.png ZORVE_REPORT=report.json \
  wine "$top/cordelune.exe" >"$PROBE_OUT" 2>"$PROBE_ERR" &
PROBE_PID=$!
E2E_PIDS+=("$PROBE_PID")
find_probe_window
expect_heart_icon "$WIN"
read -r _ _ WIN_W WIN_H <<<"$(window_box "$WIN")"
# The script's end, on the screen: the card orange, the face green, the message blue.
expect "the card the script makes" <<EOF
150 -100 $ORANGE
0 100 $GREEN
EOF
wmctrl -i -c "$WIN" || fail "cannot ask the window to close"
probe_exit_status 30 || fail "cordelune.exe ended with status $?"

# What the run left: the report says the whole script played and the window closed it.
[ -s report.json ] || fail "no run report"
for field in '"end": *"quit"' '"events_played": *7' '"events_left": *0' '"written": *true'; do
  grep -Eq "$field" report.json || { cat report.json >&2; fail "the report does not say $field"; }
done
[ "$(identify -format '%wx%h' card.png 2>/dev/null)" = 595x496 ] || fail "card.png is not the 595 x 496 client area"
# The card's pixels where no text is: as the golden picture of the same script.
points="447 348 297 148 297 130 200 100 500 100 20 450"
[ "$(pixels_of card.png $points)" = "$(pixels_of "$src/tests/data/designer_card.png" $points)" ] ||
  fail "card.png differs from tests/data/designer_card.png: $(pixels_of card.png $points | tr '\n' ' ')"
echo "ok: $name unpacked; cordelune.exe $version with its icon played the script under Wine"
