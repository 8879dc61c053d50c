# The web build, shared by `scripts/run --web` and scripts/test: Debian's Emscripten,
# FreeType's Debian source package (built for wasm inside the build folder), and the
# browser the tests drive. Sourced after scripts/lib/common.sh, which names the packages
# (ZORVE_WEB_PACKAGES).

# Emscripten's optimiser needs Debian's acorn, which Node finds only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# apt-get source needs deb-src entries: made from the deb entries already there, for the
# same suites, when there are none.
ensure_deb_src() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "apt has no deb-src entries, which apt-get source freetype needs; add them (as root)." >&2
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

# Installs what the web build needs; FreeType's source only while it is not built yet.
web_setup() {
  local dir=$1
  ensure_packages "${ZORVE_WEB_PACKAGES[@]}" || return 1
  check_packages "${ZORVE_WEB_PACKAGES[@]}" || return 1
  [ -f "$dir/freetype/install/lib/libfreetype.a" ] || ensure_deb_src
}

# Configures (with any further CMake options) and builds the web build folder; the
# pages land in DIR/site, the test programs' in DIR/site-tests.
web_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/web.cmake -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null &&
    cmake --build "$dir" -j "${ZORVE_JOBS:-2}"
}

# The static site as one tarball for any static host: builds the web build folder DIR
# (with any further CMake options) and its bundle, copies cordelune-VERSION-web.tar.gz
# into OUT_DIR and prints its path.
#   web_bundle DIR OUT_DIR [CMAKE_OPTIONS...]
web_bundle() {
  local dir=$1 out=$2 version
  shift 2
  web_setup "$dir" && web_build "$dir" "$@" && cmake --build "$dir" --target web_bundle >/dev/null || return 1
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")
  mkdir -p "$out" && cp "$dir/cordelune-$version-web.tar.gz" "$out/" || return 1
  echo "$out/cordelune-$version-web.tar.gz"
}

# Node's own WebSocket needs a flag on Node 20 and none on 22; Debian's Node 18 has
# none, and the tests use node-ws there.
web_node() {
  if node --experimental-websocket -e 0 2>/dev/null; then
    node --experimental-websocket "$@"
  else
    node "$@"
  fi
}
