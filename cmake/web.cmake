# Toolchain of the web build: Debian's Emscripten (package emscripten) with its
# prebuilt system libraries, for
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/web.cmake
# The build itself is web/CMakeLists.txt.
set(ZORVE_EMSCRIPTEN_ROOT /usr/share/emscripten CACHE PATH "Where Emscripten is installed")
include(${ZORVE_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)

# Emscripten's own default emulator flag (--experimental-wasm-threads) is refused by
# current Node; without fetch, Node reads a program's .wasm from its file.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/node --no-experimental-fetch CACHE STRING
    "How wasm programs run on the build machine")
