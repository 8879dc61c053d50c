# Shared by scripts/test and scripts/run: installing what is missing, and a display.

# Debian packages the project needs to build and test.
ZORVE_PACKAGES=(
  cmake g++ make pkg-config
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation libpng-dev
  libfltk1.3-dev
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64 wine wine64
  xvfb xauth xdotool x11-utils imagemagick openbox wmctrl
  clang libclang-rt-14-dev
)

# Installs the missing packages with apt when root; otherwise names the apt line.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
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

# Starts a private Xvfb display unless one is given; sets DISPLAY. Xvfb picks a free
# display number itself (-displayfd), so parallel runs never share one.
start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local fifo n=""
  fifo=$(mktemp -u)
  mkfifo "$fifo" || return 1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  ZORVE_XVFB_PID=$!
  read -r -t 20 n <"$fifo"
  rm -f "$fifo"
  if [ -z "$n" ]; then
    echo "cannot start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

stop_xvfb() {
  if [ -n "${ZORVE_XVFB_PID:-}" ]; then kill "$ZORVE_XVFB_PID" 2>/dev/null || true; fi
}
