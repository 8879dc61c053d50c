# giflib for the builds that find no libgif-dev of their target (Windows with mingw-w64,
# the web with Emscripten): the library's own C files from Debian's source package of
# the giflib that the native build links, so that every build encodes with the same
# code. Fetched once, when such a build is first configured, into giflib/ of the build
# folder, and compiled there by the build's own compiler (giflib builds with a plain
# Makefile; its few files need no configuration). Gives the object library
# `zorve_giflib` and ZORVE_GIFLIB_INCLUDE_DIR.
#
# `apt-get source giflib` needs deb-src entries in apt's sources and dpkg-dev;
# scripts/lib/common.sh's ensure_deb_src sets up the first (scripts/test calls it).

set(ZORVE_GIFLIB_DIR ${CMAKE_BINARY_DIR}/giflib)
file(GLOB ZORVE_GIFLIB_HEADER ${ZORVE_GIFLIB_DIR}/source/giflib-*/gif_lib.h)
if(NOT ZORVE_GIFLIB_HEADER)
  message(STATUS "Fetching giflib's Debian source package")
  file(MAKE_DIRECTORY ${ZORVE_GIFLIB_DIR}/source)
  execute_process(COMMAND apt-get source -q giflib
                  WORKING_DIRECTORY ${ZORVE_GIFLIB_DIR}/source
                  RESULT_VARIABLE fetched OUTPUT_QUIET)
  file(GLOB ZORVE_GIFLIB_HEADER ${ZORVE_GIFLIB_DIR}/source/giflib-*/gif_lib.h)
  if(NOT fetched EQUAL 0 OR NOT ZORVE_GIFLIB_HEADER)
    message(FATAL_ERROR "`apt-get source giflib` failed in ${ZORVE_GIFLIB_DIR}/source: it needs "
                        "deb-src entries in apt's sources and the package dpkg-dev "
                        "(scripts/test adds both when run as root).")
  endif()
endif()
list(GET ZORVE_GIFLIB_HEADER 0 ZORVE_GIFLIB_HEADER)
get_filename_component(ZORVE_GIFLIB_INCLUDE_DIR ${ZORVE_GIFLIB_HEADER} DIRECTORY)

# The encoder and what it calls, and the decoder, which tests read pictures back with;
# the quantizer and the font stay out.
set(ZORVE_GIFLIB_SOURCES egif_lib.c dgif_lib.c gif_hash.c gifalloc.c gif_err.c openbsd-reallocarray.c)
list(TRANSFORM ZORVE_GIFLIB_SOURCES PREPEND ${ZORVE_GIFLIB_INCLUDE_DIR}/)
add_library(zorve_giflib OBJECT ${ZORVE_GIFLIB_SOURCES})
# Compiled as its own Makefile compiles it (C99 with GNU extensions); its warnings are
# its maintainers' business, not errors of this build.
set_target_properties(zorve_giflib PROPERTIES C_STANDARD 99 C_EXTENSIONS ON)
target_compile_options(zorve_giflib PRIVATE -w)
target_include_directories(zorve_giflib PRIVATE ${ZORVE_GIFLIB_INCLUDE_DIR})
