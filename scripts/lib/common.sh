# Shared by scripts/test and scripts/run: installing what is missing, and a display.

# The Debian packages the project needs: the one list. scripts/run installs the first
# group (build and run the designer; with --web the web group too), scripts/package the
# first and the packaging group, scripts/test every group.
ZORVE_RUN_PACKAGES=(
  cmake g++ make pkg-config
  libfreetype-dev libfontconfig-dev libfltk1.3-dev libx11-dev
  libstb-dev              # the PNG codec (stb_image_write.h, stb_image.h)
  libgif-dev              # the GIF codec (giflib)
  fonts-liberation        # the faces that text is drawn with, on every machine
  nlohmann-json3-dev      # zorve-run reads run reports
)
ZORVE_TEST_PACKAGES=(
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64 wine wine64                          # the Windows build under Wine
  dpkg-dev                # apt-get source unpacks giflib for the Windows build with it
  xvfb xauth xdotool x11-utils imagemagick openbox wmctrl   # end-to-end tests on a display
  clang libclang-rt-14-dev                                  # fuzzing
  fonts-dejavu-core       # a family outside the font table, which tests ask for by name
  lintian                 # the Debian packages' check
)

# scripts/package: CPack's Debian packages find the libraries their programs link with
# through dpkg-shlibdeps, which needs file(1) to tell programs apart. scripts/test makes
# and installs the packages too.
ZORVE_PACKAGING_PACKAGES=(dpkg-dev file)

ZORVE_WEB_PACKAGES=(
  emscripten node-acorn nodejs   # the compiler, and the parser its optimiser runs on
  dpkg-dev                       # apt-get source unpacks FreeType and giflib with it
  chromium node-ws               # the browser the tests drive, and a WebSocket for old Node
)

# Files that show a package is really there, for packages whose absence would
# otherwise only show as a CMake trace or a failing test.
ZORVE_PACKAGE_FILES=(
  libfltk1.3-dev:/usr/include/FL/Fl.H
  libfreetype-dev:/usr/include/freetype2/ft2build.h
  libfontconfig-dev:/usr/include/fontconfig/fontconfig.h
  nlohmann-json3-dev:/usr/include/nlohmann/json.hpp
  libstb-dev:/usr/include/stb/stb_image_write.h
  libstb-dev:/usr/include/stb/stb_image.h
  libgif-dev:/usr/include/gif_lib.h
  fonts-liberation:/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
  fonts-liberation:/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf
  fonts-liberation:/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf
  libgtest-dev:/usr/include/gtest/gtest.h
  googletest:/usr/src/googletest/CMakeLists.txt
  libbenchmark-dev:/usr/include/benchmark/benchmark.h
)

# apt-get source (FreeType and giflib for the web, giflib for Windows) needs deb-src
# entries: made from the deb entries already there, for the same suites, when there are
# none.
ensure_deb_src() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "apt has no deb-src entries, which apt-get source needs; add them (as root)." >&2
    return 1
  fi
  # The distribution's own entries only: other archives often carry no sources.
  local f
  for f in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list.d/ubuntu.sources; do
    [ -f "$f" ] || continue
    sed 's/^Types: deb$/Types: deb-src/' "$f" >"/etc/apt/sources.list.d/zorve-src-$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >/etc/apt/sources.list.d/zorve-src.list
  fi
  apt-get update -q
}

package_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Installs the missing packages with apt when root; otherwise names the apt line.
ensure_packages() {
  local missing=() p
  for p in "$@"; do package_installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
  else
    echo "These packages are missing. Install them, then run this again:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
}

# Fails with the names of the packages that are still missing (an install that did not
# work, or a package whose files were removed), before anything is built.
check_packages() {
  local missing=() p entry file
  for p in "$@"; do package_installed "$p" || missing+=("$p"); done
  for entry in "${ZORVE_PACKAGE_FILES[@]}"; do
    p=${entry%%:*} file=${entry#*:}
    case " $* " in *" $p "*) ;; *) continue ;; esac
    [ -e "$file" ] || case " ${missing[*]} " in *" $p "*) ;; *) missing+=("$p") ;; esac
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them (as root: apt-get install --reinstall ${missing[*]}), then run this again." >&2
  return 1
}

# Starts a private Xvfb display unless one is given; sets DISPLAY. Xvfb picks a free
# display number itself (-displayfd), so parallel runs never share one; -noreset keeps
# it from resetting whenever its last client leaves, between one test and the next.
start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local fifo n=""
  fifo=$(mktemp -u)
  mkfifo "$fifo" || return 1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  ZORVE_XVFB_PID=$!
  read -r -t 20 n <"$fifo"
  rm -f "$fifo"
  if [ -z "$n" ]; then
    echo "cannot start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

# A window manager on that display: programs under Wine wait up to two seconds for one
# whenever a window is shown or hidden, and the desktop tests need one for focus and
# close requests.
start_window_manager() {
  local id i
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # //p')
  [ -n "$id" ] && xprop -id "$id" _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 && return 0
  openbox --sm-disable >/dev/null 2>&1 &
  ZORVE_WM_PID=$!
  for i in $(seq 100); do
    id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # //p')
    [ -n "$id" ] && return 0
    sleep 0.1
  done
  echo "cannot start openbox" >&2
  return 1
}

stop_xvfb() {
  if [ -n "${ZORVE_WM_PID:-}" ]; then kill "$ZORVE_WM_PID" 2>/dev/null || true; fi
  if [ -n "${ZORVE_XVFB_PID:-}" ]; then kill "$ZORVE_XVFB_PID" 2>/dev/null || true; fi
}
