# The libraries the platform layer and its presenters are built on, found without
# anything beyond their headers and libraries (Debian's FLTK CMake package insists on
# the fluid program, which nothing here needs). Included by the build and by the
# installed package's configuration, so both find the same things the same way.
#
# Functions rather than top-level code: the package configuration runs in the scope of
# whoever calls find_package(zorve), and must leave that scope's variables alone.
include_guard(GLOBAL)

# FreeType and fontconfig (text): PkgConfig::ZORVE_FREETYPE and PkgConfig::ZORVE_FONTCONFIG.
# Sets <found_var> to whether both are there.
function(zorve_find_platform_libraries found_var)
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    if(NOT TARGET PkgConfig::ZORVE_FREETYPE)
      pkg_check_modules(ZORVE_FREETYPE QUIET IMPORTED_TARGET freetype2)
    endif()
    if(NOT TARGET PkgConfig::ZORVE_FONTCONFIG)
      pkg_check_modules(ZORVE_FONTCONFIG QUIET IMPORTED_TARGET fontconfig)
    endif()
  endif()
  if(TARGET PkgConfig::ZORVE_FREETYPE AND TARGET PkgConfig::ZORVE_FONTCONFIG)
    set(${found_var} TRUE PARENT_SCOPE)
  else()
    set(${found_var} FALSE PARENT_SCOPE)
  endif()
endfunction()

# FLTK and the X libraries it draws with: zorve::fltk, when both are present.
function(zorve_find_fltk)
  if(TARGET zorve::fltk)
    return()
  endif()
  find_path(ZORVE_FLTK_INCLUDE_DIR FL/Fl.H)
  find_library(ZORVE_FLTK_LIBRARY NAMES fltk)
  find_package(X11 QUIET)
  if(ZORVE_FLTK_INCLUDE_DIR AND ZORVE_FLTK_LIBRARY AND X11_FOUND)
    add_library(zorve::fltk INTERFACE IMPORTED GLOBAL)
    target_include_directories(zorve::fltk INTERFACE ${ZORVE_FLTK_INCLUDE_DIR} ${X11_INCLUDE_DIR})
    target_link_libraries(zorve::fltk INTERFACE ${ZORVE_FLTK_LIBRARY} ${X11_LIBRARIES})
  endif()
endfunction()

# giflib (animated pictures): zorve::gif, when its header and library are present.
function(zorve_find_giflib)
  if(TARGET zorve::gif)
    return()
  endif()
  find_path(ZORVE_GIF_INCLUDE_DIR gif_lib.h)
  find_library(ZORVE_GIF_LIBRARY NAMES gif)
  if(ZORVE_GIF_INCLUDE_DIR AND ZORVE_GIF_LIBRARY)
    add_library(zorve::gif INTERFACE IMPORTED GLOBAL)
    target_include_directories(zorve::gif INTERFACE ${ZORVE_GIF_INCLUDE_DIR})
    target_link_libraries(zorve::gif INTERFACE ${ZORVE_GIF_LIBRARY})
  endif()
endfunction()
