# FreeType for WebAssembly, from Debian's source package of the FreeType that the
# desktop build uses, so that glyphs come out the same in the page as on the desktop.
# Built once, when the web build is first configured, into freetype/ of the build
# folder; later configurations find it there. Gives the target `freetype`.
#
# The fetch: cmake/DebianSource.cmake.

set(ZORVE_WEB_JOBS 2 CACHE STRING "Parallel jobs for building FreeType")
set(ZORVE_FREETYPE_DIR ${CMAKE_BINARY_DIR}/freetype)
set(ZORVE_FREETYPE_PREFIX ${ZORVE_FREETYPE_DIR}/install)

# No optional libraries: none of them exists for wasm here, and the runtime's TrueType
# files need none. SSE2 (emulated with wasm SIMD) takes FreeType through the same code
# as on x86-64: without it the rasterizer flattens curves another way, and the edges of
# glyphs come out a shade different from the desktop's.
set(ZORVE_FREETYPE_OPTIONS -DCMAKE_BUILD_TYPE=Release "-DCMAKE_C_FLAGS=-msimd128 -msse2"
    -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=TRUE -DFT_DISABLE_BZIP2=TRUE -DFT_DISABLE_PNG=TRUE
    -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE)
# A build with other options is made again.
set(stamp ${ZORVE_FREETYPE_PREFIX}/zorve-options.txt)
set(built_options "")
if(EXISTS ${stamp})
  file(READ ${stamp} built_options)
endif()
if(NOT built_options STREQUAL "${ZORVE_FREETYPE_OPTIONS}")
  file(REMOVE_RECURSE ${ZORVE_FREETYPE_DIR}/build ${ZORVE_FREETYPE_PREFIX})
endif()

if(NOT EXISTS ${ZORVE_FREETYPE_PREFIX}/lib/libfreetype.a)
  include(${PROJECT_SOURCE_DIR}/cmake/DebianSource.cmake)
  zorve_debian_source(freetype ${ZORVE_FREETYPE_DIR}/source CMakeLists.txt source)
  message(STATUS "Building FreeType for wasm from ${source}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${source} -B ${ZORVE_FREETYPE_DIR}/build
            -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/web.cmake ${ZORVE_FREETYPE_OPTIONS}
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
  file(WRITE ${stamp} "${ZORVE_FREETYPE_OPTIONS}")
  if(NOT EXISTS ${ZORVE_FREETYPE_PREFIX}/lib/libfreetype.a)
    message(FATAL_ERROR "FreeType for wasm did not build; see ${ZORVE_FREETYPE_DIR}/build")
  endif()
endif()

# The toolchain confines searches to Emscripten's sysroot; this prefix is outside it.
find_package(freetype CONFIG REQUIRED PATHS ${ZORVE_FREETYPE_PREFIX} NO_DEFAULT_PATH
             NO_CMAKE_FIND_ROOT_PATH)
