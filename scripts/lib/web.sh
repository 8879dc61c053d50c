# The web build, shared by `scripts/run --web` and scripts/test: Debian's Emscripten,
# FreeType's Debian source package (built for wasm inside the build folder), and the
# browser the tests drive. Sourced after scripts/lib/common.sh, which names the packages
# (ZORVE_WEB_PACKAGES).

# Emscripten's optimiser needs Debian's acorn, which Node finds only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# Installs what the web build needs; deb-src entries only while FreeType or giflib is
# not fetched yet.
web_setup() {
  local dir=$1
  ensure_packages "${ZORVE_WEB_PACKAGES[@]}" || return 1
  check_packages "${ZORVE_WEB_PACKAGES[@]}" || return 1
  [ -f "$dir/freetype/install/lib/libfreetype.a" ] && ls "$dir"/giflib/source/giflib-*/gif_lib.h >/dev/null 2>&1 ||
    ensure_deb_src
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
