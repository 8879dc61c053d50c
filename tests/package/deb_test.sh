#!/usr/bin/env bash
# The Debian packages as a person gets them. Built from a native build tree (CPack's
# `package` target), each holds its part and lintian finds no error in either; they
# are installed with apt as root (apt-get install ./FILE.deb, which also pulls what
# they depend on) and then used: the installed designer plays a script headless and
# ends on the golden picture, and on the display its window carries its name and the
# installed icon; examples are built against the installed libzorve-dev, with
# pkg-config and with CMake, and the installed zorve-run finds their pictures right.
# One version, the CMake project's, is in the packages and everything they install.
# Both packages are removed at the end, whatever happened.
#
#   deb_test.sh SOURCE_DIR BUILD_DIR
#
# Needs root (as CI runs it) and $DISPLAY. Prints one line per check and a total;
# exits non-zero if any failed.
set -uo pipefail
src=$(cd "$1" && pwd) || exit 1
build=$(cd "$2" && pwd) || exit 1
jobs=${ZORVE_JOBS:-2}
version=$(sed -nE 's/^project\(zorve VERSION ([0-9.]+).*/\1/p' "$src/CMakeLists.txt")
designer_deb=$build/packages/cordelune_${version}_amd64.deb
sdk_deb=$build/packages/libzorve-dev_${version}_amd64.deb
doc=/usr/share/doc/libzorve-dev
PACKAGES=(cordelune libzorve-dev)

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: installing packages with apt needs root (CI runs this as root)"
  echo "deb test: 0 passed, 0 failed"
  exit 0
fi

work=$(mktemp -d)
. "$src/tests/package/lib.sh"
export DEBIAN_FRONTEND=noninteractive
apt() { apt-get -y -q -o DPkg::Lock::Timeout=300 "$@"; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
remove_packages() {
  local p present=()
  for p in "${PACKAGES[@]}"; do installed "$p" && present+=("$p"); done
  [ ${#present[@]} -eq 0 ] || apt purge "${present[@]}"
}
cleanup() {
  remove_packages >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

# The files of a package, without the folders, as "/usr/..." lines.
files_of() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort; }

built() {
  [ -n "$version" ] || { echo "no project version in CMakeLists.txt"; return 1; }
  rm -f "$build"/packages/*.deb
  cmake --build "$build" -j "$jobs" --target package || return 1
  local deb
  for deb in "$designer_deb" "$sdk_deb"; do
    [ -f "$deb" ] || { echo "not made: $deb"; ls "$build/packages"; return 1; }
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
      { echo "$deb: version $(dpkg-deb -f "$deb" Version), not $version"; return 1; }
    echo "== $(basename "$deb")"; dpkg-deb -f "$deb" Package Version Depends
  done
  # Each package its part: the designer's has exactly these files.
  local want size
  want=$(printf '%s\n' /usr/bin/cordelune /usr/share/applications/cordelune.desktop \
           /usr/share/man/man1/cordelune.1.gz /usr/share/doc/cordelune/copyright \
           /usr/share/doc/cordelune/changelog.gz \
           $(for size in 16 24 32 48 64 128 256; do
               echo "/usr/share/icons/hicolor/${size}x$size/apps/cordelune.png"; done) | sort)
  diff <(echo "$want") <(files_of "$designer_deb") || { echo "cordelune's files differ (< expected)"; return 1; }
  # The runtime's package, zorve-run, the reference with all its pictures, the examples.
  local sdk_files file missing=0
  sdk_files=$(files_of "$sdk_deb")
  for file in /usr/include/zorve.h /usr/lib/libzorve.a /usr/lib/libzorve-codec.a /usr/lib/libzorve-platform.a \
              /usr/lib/libzorve-presenter-headless.a /usr/lib/libzorve-presenter-fltk.a \
              /usr/lib/zorve/presenters-desktop.o /usr/lib/zorve/presenters-headless.o \
              /usr/lib/pkgconfig/zorve.pc /usr/lib/pkgconfig/zorve-headless.pc \
              /usr/lib/cmake/zorve/zorveConfig.cmake /usr/lib/cmake/zorve/zorveConfigVersion.cmake \
              /usr/lib/cmake/zorve/ZorveDependencies.cmake /usr/bin/zorve-run /usr/share/man/man1/zorve-run.1.gz \
              $doc/api.md $doc/copyright $doc/changelog.gz \
              $(cd "$src" && printf "$doc/%s\n" docs/pictures/*.png | sed 's|/docs/|/|') \
              $(cd "$src/examples" && git -C "$src" ls-files examples | sed "s|^|$doc/|"); do
    [ "$file" = "$doc/examples/CMakeLists.txt" ] && continue   # builds in the tree only
    grep -qxF "$file" <<<"$sdk_files" || { echo "not in libzorve-dev: $file"; missing=1; }
  done
  grep -q '^/usr/bin/cordelune$' <<<"$sdk_files" && { echo "libzorve-dev holds the designer"; missing=1; }
  [ "$missing" = 0 ]
}

lintian_clean() {
  # Errors fail; warnings are shown.
  lintian --fail-on error --no-tag-display-limit "$designer_deb" "$sdk_deb"
}

installed_with_apt() {
  remove_packages || return 1
  apt install "$designer_deb" "$sdk_deb" || return 1
  local p
  for p in "${PACKAGES[@]}"; do installed "$p" || { echo "$p is not installed"; return 1; }; done
  # The launcher: its program on the PATH, its icon, and the class its windows carry.
  local entry=/usr/share/applications/cordelune.desktop
  command -v "$(sed -n 's/^Exec=//p' "$entry")" || { echo "Exec= names no program"; return 1; }
  ls /usr/share/icons/hicolor/*/apps/"$(sed -n 's/^Icon=//p' "$entry")".png || { echo "Icon= names no icon"; return 1; }
  grep -qx 'StartupWMClass=cordelune' "$entry" || { echo "no StartupWMClass=cordelune"; return 1; }
  man -w cordelune && man -w zorve-run
}

# The version of the packages is the one everything installed says.
one_version() {
  local seen
  seen=$(printf '%s\n' "$(dpkg-query -W -f='${Version}' cordelune)" "$(dpkg-query -W -f='${Version}' libzorve-dev)" \
           "$(zorve-run --version | sed 's/^zorve-run //')" \
           "$(env -u PKG_CONFIG_PATH pkg-config --modversion zorve)" \
           "$(env -u PKG_CONFIG_PATH pkg-config --modversion zorve-headless)" \
           "$(sed -nE 's/^set\(PACKAGE_VERSION "(.*)"\)/\1/p' /usr/lib/cmake/zorve/zorveConfigVersion.cmake)")
  echo "$seen"
  [ "$(sort -u <<<"$seen")" = "$version" ]
}

# The installed program plays the designer's script headless: the lines it must print
# and the golden picture, as the build's own test of it checks them.
designer_plays() {
  [ "$(command -v cordelune)" = /usr/bin/cordelune ] || { echo "cordelune is not /usr/bin/cordelune"; return 1; }
  cmake -DPROGRAM=/usr/bin/cordelune -DSCRIPT="$src/tests/data/designer_card.scr" \
        -DLINES="$src/tests/data/designer_card.lines" -DEXPECTED="$src/tests/data/designer_card.png" \
        -DWORK_DIR="$work/designer_card" -DPNG_DIFF="$build/examples/png_diff" \
        -P "$src/tests/examples/run_example.cmake"
}

# On the display: the class cordelune and the heart from /usr/share/icons.
designer_window() {
  bash "$src/tests/e2e/window_identity_test.sh" /usr/bin/cordelune heart
}

# An example built with pkg-config from the installed sources, graded by the installed
# zorve-run against its golden picture.
sdk_pkg_config() {
  cd "$work" || return 1
  # shellcheck disable=SC2046 # the flags are meant to split
  cc -std=c11 -o palette "$doc/examples/palette.c" $(env -u PKG_CONFIG_PATH pkg-config --cflags --libs zorve) ||
    return 1
  zorve-run --script "$doc/examples/scripts/palette.scr" --expect "$src/tests/data/examples/palette.png" \
    -- ./palette
}

# Another with CMake: find_package(zorve) finds the installation by itself.
sdk_cmake() {
  env -u CMAKE_PREFIX_PATH cmake -S "$src/tests/package/first" -B "$work/first" -DCMAKE_BUILD_TYPE=Release \
    -DFIRST_SOURCE="$doc/examples/bounce.c" >/dev/null &&
    cmake --build "$work/first" -j "$jobs" || return 1
  grep -q '^zorve_DIR:PATH=/usr/lib/cmake/zorve$' "$work/first/CMakeCache.txt" ||
    { grep '^zorve_DIR' "$work/first/CMakeCache.txt"; echo "not the installed package"; return 1; }
  zorve-run --script "$doc/examples/scripts/bounce.scr" --expect "$src/tests/data/examples/bounce.png" \
    -- "$work/first/first"
}

removed() {
  remove_packages || return 1
  local p file
  for p in "${PACKAGES[@]}"; do ! installed "$p" || { echo "$p is still installed"; return 1; }; done
  for file in /usr/bin/cordelune /usr/bin/zorve-run /usr/lib/libzorve.a /usr/include/zorve.h \
              /usr/share/icons/hicolor/32x32/apps/cordelune.png; do
    [ ! -e "$file" ] || { echo "left behind: $file"; return 1; }
  done
}

check built built
if [ "$failed" -eq 0 ]; then
  check lintian lintian_clean
  check installed_with_apt installed_with_apt
  if [ "$failed" -eq 0 ]; then
    check one_version one_version
    check designer_plays designer_plays
    check designer_window designer_window
    check sdk_pkg_config sdk_pkg_config
    check sdk_cmake sdk_cmake
  fi
  check removed removed
fi
checks_total "deb test"
