# The runtime as a package, for programs outside this tree.
#
# One static archive per flavour holds the runtime, the platform layer and the
# presenter: the platform calls the presenter's choose_presenter() and the presenter
# calls back into the platform, a cycle that a linker resolves inside one archive in
# any order, but not across separate archives. The archives are built from the objects
# the in-tree targets already compiled.
#
# Programs written in C link them with the C compiler: the C++ runtime our code needs
# is named in the link interface, rather than letting the C++ inside make CMake link
# the program as C++ (which a C-only project cannot do).
#
#   zorve::zorve     runtime + platform + desktop presenter (which also holds the
#                    headless one, chosen when ZORVE_HEADLESS=1); on Windows, the
#                    runtime on Win32 itself
#   zorve::headless  runtime + platform + headless presenter (not on Windows)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The C++ compiler's own libraries that a C link leaves out (stdc++ and m with GCC).
set(ZORVE_CXX_LINK_LIBRARIES ${CMAKE_CXX_IMPLICIT_LINK_LIBRARIES})
if(CMAKE_C_IMPLICIT_LINK_LIBRARIES)
  list(REMOVE_ITEM ZORVE_CXX_LINK_LIBRARIES ${CMAKE_C_IMPLICIT_LINK_LIBRARIES})
endif()
list(REMOVE_DUPLICATES ZORVE_CXX_LINK_LIBRARIES)

set(ZORVE_PACKAGE_DIR ${PROJECT_BINARY_DIR}/package)

# One flavour: <component> is zorve or headless, <output> the archive's name, OBJECTS
# the in-tree targets whose objects it holds, LIBRARIES what a program needs beside it.
function(zorve_package_flavour component output)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "OBJECTS;LIBRARIES")
  set(archive zorve_package_${component})
  set(objects "")
  foreach(target IN LISTS ARG_OBJECTS)
    list(APPEND objects $<TARGET_OBJECTS:${target}>)
  endforeach()
  add_library(${archive} STATIC ${objects})
  set_target_properties(${archive} PROPERTIES OUTPUT_NAME ${output} LINKER_LANGUAGE CXX
                        ARCHIVE_OUTPUT_DIRECTORY ${ZORVE_PACKAGE_DIR})

  # In the tree, the archive is linked by its file through an interface target: linking
  # the static library target itself would make the program's linker language C++.
  add_library(${archive}_link INTERFACE)
  add_dependencies(${archive}_link ${archive})
  target_include_directories(${archive}_link INTERFACE ${PROJECT_SOURCE_DIR}/runtime)
  target_link_libraries(${archive}_link INTERFACE $<TARGET_FILE:${archive}> ${ARG_LIBRARIES}
                        ${ZORVE_CXX_LINK_LIBRARIES})
  add_library(zorve::${component} ALIAS ${archive}_link)

  set_property(GLOBAL APPEND PROPERTY ZORVE_PACKAGE_COMPONENTS ${component})
  set_property(GLOBAL APPEND PROPERTY ZORVE_PACKAGE_ARCHIVES ${archive})
endfunction()

if(WIN32)
  zorve_package_flavour(zorve zorve OBJECTS zorve zorve_codec LIBRARIES gdi32 user32 kernel32)
else()
  set(ZORVE_PLATFORM_LINK PkgConfig::ZORVE_FREETYPE PkgConfig::ZORVE_FONTCONFIG)
  if(TARGET zorve_display_fltk)
    zorve_package_flavour(zorve zorve
      OBJECTS zorve zorve_codec zorve_platform zorve_headless_core zorve_display_fltk
      LIBRARIES ${ZORVE_PLATFORM_LINK} zorve::fltk)
  endif()
  zorve_package_flavour(headless zorve-headless
    OBJECTS zorve zorve_codec zorve_platform zorve_headless_core zorve_display_headless
    LIBRARIES ${ZORVE_PLATFORM_LINK})
endif()

if(NOT ZORVE_INSTALL)
  return()
endif()

# ---- pkg-config ---------------------------------------------------------------------
# Library files and names as linker flags: -L only for directories the linker does not
# search anyway.
function(zorve_linker_flags out)
  set(flags "")
  foreach(item IN LISTS ARGN)
    if(item MATCHES "^-")
      list(APPEND flags ${item})
    elseif(IS_ABSOLUTE "${item}" AND item MATCHES "/lib([^/]+)\\.(so|a|dylib|tbd)(\\.[0-9.]+)?$")
      set(name ${CMAKE_MATCH_1})
      get_filename_component(dir "${item}" DIRECTORY)
      if(NOT dir IN_LIST CMAKE_C_IMPLICIT_LINK_DIRECTORIES)
        list(APPEND flags -L${dir})
      endif()
      list(APPEND flags -l${name})
    elseif(IS_ABSOLUTE "${item}")
      list(APPEND flags ${item})
    else()
      list(APPEND flags -l${item})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES flags)
  string(JOIN " " flags ${flags})
  set(${out} "${flags}" PARENT_SCOPE)
endfunction()

# The .pc file finds itself: the prefix is relative to its own folder, so an installed
# tree can be moved (cmake --install --prefix, a package manager's staging folder).
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(ZORVE_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(ZORVE_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
  file(RELATIVE_PATH ZORVE_PC_UP "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
  string(REGEX REPLACE "/$" "" ZORVE_PC_UP "${ZORVE_PC_UP}")
  set(ZORVE_PC_PREFIX "\${pcfiledir}/${ZORVE_PC_UP}")
  set(ZORVE_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(ZORVE_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(ZORVE_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()

# <name>.pc for one archive: REQUIRES pkg-config modules, LIBRARIES files or names.
function(zorve_pkg_config name archive_name description)
  cmake_parse_arguments(PARSE_ARGV 3 ARG "" "" "REQUIRES;LIBRARIES")
  zorve_linker_flags(libs ${ARG_LIBRARIES} ${ZORVE_CXX_LINK_LIBRARIES})
  set(requires "")
  if(ARG_REQUIRES)
    string(JOIN " " requires ${ARG_REQUIRES})
    set(requires "Requires: ${requires}\n")
  endif()
  file(CONFIGURE OUTPUT ${ZORVE_PACKAGE_DIR}/${name}.pc @ONLY CONTENT [[
prefix=@ZORVE_PC_PREFIX@
libdir=@ZORVE_PC_LIBDIR@
includedir=@ZORVE_PC_INCLUDEDIR@

Name: @name@
Description: @description@
Version: @PROJECT_VERSION@
@requires@Cflags: -I${includedir}
Libs: -L${libdir} -l@archive_name@ @libs@
]])
  install(FILES ${ZORVE_PACKAGE_DIR}/${name}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()

if(WIN32)
  zorve_pkg_config(zorve zorve "The ZORVE graphics runtime on Win32"
                   LIBRARIES gdi32 user32 kernel32)
else()
  # The modules the build found FreeType and fontconfig as.
  set(ZORVE_PC_PLATFORM_REQUIRES freetype2 fontconfig)
  if(TARGET zorve_package_zorve)
    get_target_property(ZORVE_FLTK_LINK zorve::fltk INTERFACE_LINK_LIBRARIES)
    zorve_pkg_config(zorve zorve
                     "The ZORVE graphics runtime with real windows (FLTK); ZORVE_HEADLESS=1 runs without a display"
                     REQUIRES ${ZORVE_PC_PLATFORM_REQUIRES} LIBRARIES ${ZORVE_FLTK_LINK})
  endif()
  zorve_pkg_config(zorve-headless zorve-headless
                   "The ZORVE graphics runtime without a display (tests, CI)"
                   REQUIRES ${ZORVE_PC_PLATFORM_REQUIRES})
endif()

# ---- CMake package --------------------------------------------------------------------
get_property(ZORVE_PACKAGE_COMPONENTS GLOBAL PROPERTY ZORVE_PACKAGE_COMPONENTS)
get_property(ZORVE_PACKAGE_ARCHIVES GLOBAL PROPERTY ZORVE_PACKAGE_ARCHIVES)
set(ZORVE_PACKAGE_ON_WIN32 ${WIN32})
set(ZORVE_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/zorve)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zorveConfig.cmake.in
                              ${ZORVE_PACKAGE_DIR}/zorveConfig.cmake
                              INSTALL_DESTINATION ${ZORVE_CONFIG_DIR}
                              PATH_VARS CMAKE_INSTALL_INCLUDEDIR CMAKE_INSTALL_LIBDIR)
write_basic_package_version_file(${ZORVE_PACKAGE_DIR}/zorveConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${ZORVE_PACKAGE_DIR}/zorveConfig.cmake ${ZORVE_PACKAGE_DIR}/zorveConfigVersion.cmake
        DESTINATION ${ZORVE_CONFIG_DIR})
if(NOT WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/ZorveDependencies.cmake DESTINATION ${ZORVE_CONFIG_DIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/runtime/zorve.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS ${ZORVE_PACKAGE_ARCHIVES} ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
