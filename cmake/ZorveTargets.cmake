# The libraries and the card designer, defined once for every build: native (with the
# desktop presenter when ZORVE_DESKTOP), Windows (mingw-w64: the runtime on Win32
# itself, no platform/) and web (Emscripten: the web presenter; web/CMakeLists.txt
# makes the pages). Included by the top-level CMakeLists.txt.
#
#   zorve_codec              codec/: PNG and animated GIF pictures       every build
#   zorve_platform           platform/ without presenters                not Windows
#   zorve_presenter_*        the presenters: headless, fltk (native), web
#   zorve_display_headless   what a program links to run on: headless    native, web (Node)
#   zorve_display_fltk       ... the desktop, or headless when asked     native, ZORVE_DESKTOP
#   zorve_display_web        ... a web page                              web
#   zorve                    runtime/, header runtime/zorve.h            every build
#   zorve_test_hooks         runtime/test_hooks.cpp, for tests only      with tests or fuzzers
#   cordelune_core           designer/ without its main                  every build
#   cordelune                the card designer program                   Windows, desktop

# ---- codec/ ---------------------------------------------------------------------------
# The stb image libraries (Debian's libstb-dev), header-only: found on the build
# machine even when cross-building (Emscripten searches no /usr of its own), since
# nothing in them depends on the target.
find_path(ZORVE_STB_INCLUDE_DIR stb_image_write.h PATH_SUFFIXES stb PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT ZORVE_STB_INCLUDE_DIR OR NOT EXISTS ${ZORVE_STB_INCLUDE_DIR}/stb_image.h)
  message(FATAL_ERROR "The PNG codec needs the stb image libraries (Debian: libstb-dev).")
endif()
add_library(zorve_codec STATIC ${PROJECT_SOURCE_DIR}/codec/png_codec.cpp ${PROJECT_SOURCE_DIR}/codec/gif_codec.cpp)
target_include_directories(zorve_codec PUBLIC ${PROJECT_SOURCE_DIR})
target_include_directories(zorve_codec SYSTEM PRIVATE ${ZORVE_STB_INCLUDE_DIR})
# giflib: Debian's libgif-dev natively; elsewhere its source package, compiled into the
# codec's archive, so that a cross-built package holds it too.
if(WIN32 OR EMSCRIPTEN)
  include(${PROJECT_SOURCE_DIR}/cmake/giflib.cmake)
  target_sources(zorve_codec PRIVATE $<TARGET_OBJECTS:zorve_giflib>)
  target_include_directories(zorve_codec SYSTEM PRIVATE ${ZORVE_GIFLIB_INCLUDE_DIR})
else()
  include(${PROJECT_SOURCE_DIR}/cmake/ZorveDependencies.cmake)
  zorve_find_giflib()
  if(NOT TARGET zorve::gif)
    message(FATAL_ERROR "The GIF codec needs giflib (Debian: libgif-dev).")
  endif()
  target_link_libraries(zorve_codec PRIVATE zorve::gif)
endif()

# ---- platform/: the Win32 subset, for hosts without Win32 -----------------------------
if(NOT WIN32)
  file(GLOB ZORVE_PLATFORM_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/gdi/*.cpp
       ${PROJECT_SOURCE_DIR}/platform/kernel/*.cpp ${PROJECT_SOURCE_DIR}/platform/user/*.cpp)
  add_library(zorve_platform STATIC ${ZORVE_PLATFORM_SOURCES})
  target_include_directories(zorve_platform PUBLIC ${PROJECT_SOURCE_DIR})
  # A program's icon files are PNG pictures.
  target_link_libraries(zorve_platform PRIVATE zorve_codec)
  if(EMSCRIPTEN)
    # FreeType built for wasm; the font files are embedded in each page at their
    # desktop paths, where the font table looks, and there is no fontconfig.
    include(${PROJECT_SOURCE_DIR}/web/freetype.cmake)
    set(ZORVE_FONT_DIR /usr/share/fonts/truetype/liberation)
    target_compile_definitions(zorve_platform PRIVATE ZORVE_NO_FONTCONFIG ZORVE_FONT_DIR="${ZORVE_FONT_DIR}")
    target_link_libraries(zorve_platform PRIVATE freetype)
  else()
    include(${PROJECT_SOURCE_DIR}/cmake/ZorveDependencies.cmake)
    zorve_find_platform_libraries(ZORVE_PLATFORM_LIBRARIES_FOUND)
    if(NOT ZORVE_PLATFORM_LIBRARIES_FOUND)
      message(FATAL_ERROR "The platform layer needs pkg-config, FreeType and fontconfig "
                          "(Debian: pkg-config libfreetype-dev libfontconfig-dev).")
    endif()
    target_link_libraries(zorve_platform PRIVATE PkgConfig::ZORVE_FREETYPE PkgConfig::ZORVE_FONTCONFIG)
  endif()
endif()

# ---- presenters -------------------------------------------------------------------------
# Each presenter is a static library. A program links one list of presenters, an object
# library of one source (display/presenters_*.cpp) that offers its presenters to the
# platform before main: the platform names none, so nothing else would bring the list in.
set(ZORVE_DISPLAY_DIR ${PROJECT_SOURCE_DIR}/platform/display)
if(EMSCRIPTEN)
  file(GLOB ZORVE_WEB_PRESENTER_SOURCES CONFIGURE_DEPENDS ${ZORVE_DISPLAY_DIR}/web_*.cpp)
  add_library(zorve_presenter_web STATIC ${ZORVE_WEB_PRESENTER_SOURCES})
  target_link_libraries(zorve_presenter_web PUBLIC zorve_platform)
  add_library(zorve_display_web OBJECT ${ZORVE_DISPLAY_DIR}/presenters_web.cpp)
  target_link_libraries(zorve_display_web PUBLIC zorve_presenter_web)
endif()
# Headless in the web build too: the build's own steps run programs under Node.
if(NOT WIN32)
  add_library(zorve_presenter_headless STATIC ${ZORVE_DISPLAY_DIR}/headless_presenter.cpp
              ${ZORVE_DISPLAY_DIR}/headless_input.cpp ${ZORVE_DISPLAY_DIR}/headless_png.cpp
              ${ZORVE_DISPLAY_DIR}/headless_choice.cpp)
  target_link_libraries(zorve_presenter_headless PUBLIC zorve_platform PRIVATE zorve_codec)
  add_library(zorve_display_headless OBJECT ${ZORVE_DISPLAY_DIR}/presenters_headless.cpp)
  target_link_libraries(zorve_display_headless PUBLIC zorve_presenter_headless)

  if(ZORVE_DESKTOP AND NOT EMSCRIPTEN)
    zorve_find_fltk()
    if(NOT TARGET zorve::fltk)
      message(FATAL_ERROR "The desktop presenter needs FLTK and X11 (Debian: libfltk1.3-dev); "
                          "configure with -DZORVE_DESKTOP=OFF to build without it.")
    endif()
    file(GLOB ZORVE_FLTK_SOURCES CONFIGURE_DEPENDS ${ZORVE_DISPLAY_DIR}/fltk*.cpp)
    add_library(zorve_presenter_fltk STATIC ${ZORVE_FLTK_SOURCES})
    target_link_libraries(zorve_presenter_fltk PUBLIC zorve_platform zorve::fltk)
    # A desktop program runs without a display when the environment asks for it.
    add_library(zorve_display_fltk OBJECT ${ZORVE_DISPLAY_DIR}/presenters_desktop.cpp)
    target_link_libraries(zorve_display_fltk PUBLIC zorve_presenter_fltk zorve_presenter_headless)
  endif()
endif()

# ---- runtime/ ---------------------------------------------------------------------------
file(GLOB ZORVE_RUNTIME_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/runtime/*.cpp)
list(FILTER ZORVE_RUNTIME_SOURCES EXCLUDE REGEX "runtime/test_hooks\\.cpp$")
add_library(zorve STATIC ${ZORVE_RUNTIME_SOURCES})
target_include_directories(zorve PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/runtime)
target_link_libraries(zorve PRIVATE zorve_codec)
if(WIN32)
  target_link_libraries(zorve PUBLIC gdi32 user32 kernel32)
else()
  target_link_libraries(zorve PUBLIC zorve_platform)
endif()

# The tests' view of the runtime's state (runtime/test_hooks.h): a library of its own,
# linked by the tests and fuzzers alone, so that neither the runtime's archive nor its
# package carries it.
if(ZORVE_TESTS OR ZORVE_FUZZ)
  add_library(zorve_test_hooks STATIC EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/runtime/test_hooks.cpp)
  target_link_libraries(zorve_test_hooks PUBLIC zorve)
endif()

# ---- designer/ --------------------------------------------------------------------------
file(GLOB ZORVE_DESIGNER_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/designer/*.cpp)
list(FILTER ZORVE_DESIGNER_SOURCES EXCLUDE REGEX "designer/main\\.cpp$")
add_library(cordelune_core STATIC ${ZORVE_DESIGNER_SOURCES})
target_include_directories(cordelune_core PUBLIC ${PROJECT_SOURCE_DIR}/designer)
target_link_libraries(cordelune_core PUBLIC zorve)

# The card designer program: on Windows a GUI program entered at WinMain; elsewhere it
# shows its windows through the desktop presenter. The web page is web/CMakeLists.txt's.
if(WIN32)
  add_executable(cordelune WIN32 ${PROJECT_SOURCE_DIR}/designer/main.cpp)
  target_link_libraries(cordelune PRIVATE cordelune_core)
elseif(TARGET zorve_display_fltk)
  add_executable(cordelune ${PROJECT_SOURCE_DIR}/designer/main.cpp)
  target_link_libraries(cordelune PRIVATE cordelune_core zorve_display_fltk)
endif()
if(NOT PROJECT_IS_TOP_LEVEL)
  # Under a parent project the designer is built only if something there links it.
  set_property(TARGET cordelune_core PROPERTY EXCLUDE_FROM_ALL ON)
  if(TARGET cordelune)
    set_property(TARGET cordelune PROPERTY EXCLUDE_FROM_ALL ON)
  endif()
endif()
