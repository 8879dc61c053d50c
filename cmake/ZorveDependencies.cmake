# The libraries the platform layer and its presenters are built on, found without
# anything beyond their headers and libraries (Debian's FLTK CMake package insists on
# the fluid program, which nothing here needs). Included by the build and by the
# installed package's configuration, so both find the same things the same way.
include_guard(GLOBAL)

find_package(PkgConfig REQUIRED QUIET)
if(NOT TARGET PkgConfig::FREETYPE)
  pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
endif()
if(NOT TARGET PkgConfig::FONTCONFIG)
  pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
endif()
find_package(PNG REQUIRED QUIET)

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
