# giflib for the builds that find no libgif-dev of their target (Windows with mingw-w64,
# the web with Emscripten): the library's own C files from Debian's source package of
# the giflib that the native build links, so that every build encodes with the same
# code. Fetched once, when such a build is first configured, into giflib/ of the build
# folder, and compiled there by the build's own compiler (giflib builds with a plain
# Makefile; its few files need no configuration). Gives the object library
# `zorve_giflib` and ZORVE_GIFLIB_INCLUDE_DIR.
#
# The fetch: cmake/DebianSource.cmake.

include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
zorve_debian_source(giflib ${CMAKE_BINARY_DIR}/giflib/source gif_lib.h ZORVE_GIFLIB_INCLUDE_DIR)

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
