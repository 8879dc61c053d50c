# FreeType for WebAssembly, from Debian's source package of the FreeType that the
# desktop build uses, so that glyphs come out the same in the page as on the desktop.
# Built once, when the web build is first configured, into freetype/ of the build
# folder; later configurations find it there. Gives the target `freetype`.
#
# `apt-get source freetype` needs deb-src entries in apt's sources and dpkg-dev;
# scripts/lib/web.sh sets both up.

set(ZORVE_FREETYPE_DIR ${CMAKE_BINARY_DIR}/freetype)
set(ZORVE_FREETYPE_PREFIX ${ZORVE_FREETYPE_DIR}/install)

if(NOT EXISTS ${ZORVE_FREETYPE_PREFIX}/lib/libfreetype.a)
  file(GLOB source_lists ${ZORVE_FREETYPE_DIR}/source/freetype-*/CMakeLists.txt)
  if(NOT source_lists)
    message(STATUS "Fetching FreeType's Debian source package")
    file(MAKE_DIRECTORY ${ZORVE_FREETYPE_DIR}/source)
    execute_process(COMMAND apt-get source -q freetype
                    WORKING_DIRECTORY ${ZORVE_FREETYPE_DIR}/source
                    RESULT_VARIABLE fetched OUTPUT_QUIET)
    file(GLOB source_lists ${ZORVE_FREETYPE_DIR}/source/freetype-*/CMakeLists.txt)
    if(NOT fetched EQUAL 0 OR NOT source_lists)
      message(FATAL_ERROR "`apt-get source freetype` failed in ${ZORVE_FREETYPE_DIR}/source: it "
                          "needs deb-src entries in apt's sources and the package dpkg-dev "
                          "(scripts/lib/web.sh adds both when run as root).")
    endif()
  endif()
  list(GET source_lists 0 source_list)
  get_filename_component(source ${source_list} DIRECTORY)
  message(STATUS "Building FreeType for wasm from ${source}")
  # No optional libraries: none of them exists for wasm here, and the runtime's
  # TrueType files need none.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${source} -B ${ZORVE_FREETYPE_DIR}/build
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=Release
            -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=TRUE -DFT_DISABLE_BZIP2=TRUE
            -DFT_DISABLE_PNG=TRUE -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE
            -DCMAKE_INSTALL_PREFIX=${ZORVE_FREETYPE_PREFIX}
    RESULT_VARIABLE configured OUTPUT_QUIET)
  if(configured EQUAL 0)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${ZORVE_FREETYPE_DIR}/build -j ${ZORVE_WEB_JOBS}
                    RESULT_VARIABLE built OUTPUT_QUIET)
  endif()
  if(configured EQUAL 0 AND built EQUAL 0)
    execute_process(COMMAND ${CMAKE_COMMAND} --install ${ZORVE_FREETYPE_DIR}/build
                    RESULT_VARIABLE installed OUTPUT_QUIET)
  endif()
  if(NOT EXISTS ${ZORVE_FREETYPE_PREFIX}/lib/libfreetype.a)
    message(FATAL_ERROR "FreeType for wasm did not build; see ${ZORVE_FREETYPE_DIR}/build")
  endif()
endif()

# The toolchain confines searches to Emscripten's sysroot; this prefix is outside it.
find_package(freetype CONFIG REQUIRED PATHS ${ZORVE_FREETYPE_PREFIX} NO_DEFAULT_PATH
             NO_CMAKE_FIND_ROOT_PATH)
