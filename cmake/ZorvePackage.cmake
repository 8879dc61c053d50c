# The runtime as a package, for programs outside this tree: the archives the build makes
# anyway, each with its link interface, and per flavour the one object that offers the
# flavour's presenters (it must be linked as an object: nothing refers to it).
#
#   zorve::zorve     runtime + platform + the desktop presenter, and the headless one
#                    for runs with ZORVE_HEADLESS=1; on Windows, the runtime on Win32
#   zorve::headless  runtime + platform + the headless presenter (not on Windows)
#
# Archives: libzorve.a (runtime), libzorve-codec.a, and off Windows libzorve-platform.a,
# libzorve-presenter-headless.a, libzorve-presenter-fltk.a; the lists of presenters in
# lib/zorve/. A program links them in that order, which has no cycle: the runtime calls
# the platform and the codec, presenters call the platform, the platform calls the codec
# only (for the program's icon files).
#
# Programs written in C link them with the C compiler: the C++ runtime our code needs
# is named in the link interface, rather than letting the C++ inside make CMake link
# the program as C++ (which a C-only project cannot do).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The C++ compiler's own libraries that a C link leaves out (stdc++ and m with GCC).
set(ZORVE_CXX_LINK_LIBRARIES ${CMAKE_CXX_IMPLICIT_LINK_LIBRARIES})
if(CMAKE_C_IMPLICIT_LINK_LIBRARIES)
  list(REMOVE_ITEM ZORVE_CXX_LINK_LIBRARIES ${CMAKE_C_IMPLICIT_LINK_LIBRARIES})
endif()
list(REMOVE_DUPLICATES ZORVE_CXX_LINK_LIBRARIES)

set(ZORVE_PACKAGE_DIR ${PROJECT_BINARY_DIR}/package)

# The archives, in link order, and their names as installed.
if(WIN32)
  set(ZORVE_PACKAGE_ARCHIVES zorve zorve_codec)
  set(ZORVE_PACKAGE_SYSTEM_LIBRARIES gdi32 user32 kernel32)
else()
  set(ZORVE_PACKAGE_ARCHIVES zorve)
  if(TARGET zorve_presenter_fltk)
    list(APPEND ZORVE_PACKAGE_ARCHIVES zorve_presenter_fltk)
  endif()
  list(APPEND ZORVE_PACKAGE_ARCHIVES zorve_presenter_headless zorve_platform zorve_codec)
  set(ZORVE_PACKAGE_SYSTEM_LIBRARIES PkgConfig::ZORVE_FREETYPE PkgConfig::ZORVE_FONTCONFIG zorve::gif)
endif()
foreach(target IN LISTS ZORVE_PACKAGE_ARCHIVES)
  string(REPLACE "_" "-" name ${target})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name})
endforeach()
# Everything the package holds, brought up to date in one build step.
add_custom_target(zorve_package)
add_dependencies(zorve_package ${ZORVE_PACKAGE_ARCHIVES})

# One flavour: <component> is zorve or headless; PRESENTERS the object library that
# offers its presenters, ARCHIVES the archives it links beyond the runtime's own.
# In the tree, zorve::<component> links the archives by their files: linking the
# library targets themselves would make a C program's linker language C++.
set(ZORVE_PACKAGE_COMPONENTS "")
function(zorve_package_flavour component)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "PRESENTERS" "ARCHIVES")
  set(link zorve_package_${component})
  add_library(${link} INTERFACE)
  target_include_directories(${link} INTERFACE ${PROJECT_SOURCE_DIR}/runtime)
  set(files "")
  if(ARG_PRESENTERS)
    list(APPEND files $<TARGET_OBJECTS:${ARG_PRESENTERS}>)
    add_dependencies(zorve_package ${ARG_PRESENTERS})
  endif()
  foreach(target IN LISTS ARG_ARCHIVES)
    list(APPEND files $<TARGET_FILE:${target}>)
  endforeach()
  add_dependencies(${link} zorve_package)
  target_link_libraries(${link} INTERFACE ${files} ${ZORVE_PACKAGE_SYSTEM_LIBRARIES}
                        ${ZORVE_CXX_LINK_LIBRARIES})
  add_library(zorve::${component} ALIAS ${link})
  list(APPEND ZORVE_PACKAGE_COMPONENTS ${component})
  set(ZORVE_PACKAGE_COMPONENTS ${ZORVE_PACKAGE_COMPONENTS} PARENT_SCOPE)
endfunction()

if(WIN32)
  zorve_package_flavour(zorve ARCHIVES zorve zorve_codec)
else()
  if(TARGET zorve_display_fltk)
    zorve_package_flavour(zorve PRESENTERS zorve_display_fltk
      ARCHIVES zorve zorve_presenter_fltk zorve_presenter_headless zorve_platform zorve_codec)
    target_link_libraries(zorve_package_zorve INTERFACE zorve::fltk)
  endif()
  zorve_package_flavour(headless PRESENTERS zorve_display_headless
    ARCHIVES zorve zorve_presenter_headless zorve_platform zorve_codec)
endif()

if(NOT ZORVE_INSTALL)
  return()
endif()

# ---- What is installed ------------------------------------------------------------------
install(FILES ${PROJECT_SOURCE_DIR}/runtime/zorve.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS ${ZORVE_PACKAGE_ARCHIVES} ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# The lists of presenters: one object file each, named for its flavour.
set(ZORVE_OBJECT_DIR ${CMAKE_INSTALL_LIBDIR}/zorve)
if(TARGET zorve_display_fltk)
  install(FILES $<TARGET_OBJECTS:zorve_display_fltk> DESTINATION ${ZORVE_OBJECT_DIR}
          RENAME presenters-desktop${CMAKE_CXX_OUTPUT_EXTENSION})
endif()
if(TARGET zorve_display_headless)
  install(FILES $<TARGET_OBJECTS:zorve_display_headless> DESTINATION ${ZORVE_OBJECT_DIR}
          RENAME presenters-headless${CMAKE_CXX_OUTPUT_EXTENSION})
endif()

# The installed archives and objects hold machine code only: the build's link-time
# optimisation code would make every program's link compile the runtime again (seconds
# for a one-line program) and with the compiler's warnings, about files the user has not.
if(ZORVE_IPO AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_OBJCOPY AND CMAKE_RANLIB)
  install(CODE "
    file(GLOB zorve_installed \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/libzorve*.a\"
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZORVE_OBJECT_DIR}/*${CMAKE_CXX_OUTPUT_EXTENSION}\")
    foreach(file IN LISTS zorve_installed)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --wildcard -R .gnu.lto_* -R .gnu.debuglto_* -N __gnu_lto_*
                              \"\${file}\" COMMAND_ERROR_IS_FATAL ANY)
      if(file MATCHES \"[.]a$\")
        execute_process(COMMAND \"${CMAKE_RANLIB}\" \"\${file}\" COMMAND_ERROR_IS_FATAL ANY)
      endif()
    endforeach()")
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

# <name>.pc: PRESENTERS the list's object file, ARCHIVES the targets in link order,
# REQUIRES pkg-config modules, LIBRARIES files or names.
function(zorve_pkg_config name description)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "PRESENTERS" "ARCHIVES;REQUIRES;LIBRARIES")
  set(archives "")
  if(ARG_PRESENTERS)
    set(archives "\${libdir}/zorve/${ARG_PRESENTERS}${CMAKE_CXX_OUTPUT_EXTENSION} ")
  endif()
  string(APPEND archives "-L\${libdir}")
  foreach(target IN LISTS ARG_ARCHIVES)
    get_target_property(archive ${target} OUTPUT_NAME)
    string(APPEND archives " -l${archive}")
  endforeach()
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
Libs: @archives@ @libs@
]])
  install(FILES ${ZORVE_PACKAGE_DIR}/${name}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()

if(WIN32)
  zorve_pkg_config(zorve "The ZORVE graphics runtime on Win32"
                   ARCHIVES zorve zorve_codec LIBRARIES gdi32 user32 kernel32)
else()
  # The modules the build found FreeType and fontconfig as; giflib by its library file.
  set(ZORVE_PC_PLATFORM_REQUIRES freetype2 fontconfig)
  get_target_property(ZORVE_GIF_LINK zorve::gif INTERFACE_LINK_LIBRARIES)
  if(TARGET zorve_display_fltk)
    get_target_property(ZORVE_FLTK_LINK zorve::fltk INTERFACE_LINK_LIBRARIES)
    zorve_pkg_config(zorve
                     "The ZORVE graphics runtime with real windows (FLTK); ZORVE_HEADLESS=1 runs without a display"
                     PRESENTERS presenters-desktop
                     ARCHIVES zorve zorve_presenter_fltk zorve_presenter_headless zorve_platform zorve_codec
                     REQUIRES ${ZORVE_PC_PLATFORM_REQUIRES} LIBRARIES ${ZORVE_FLTK_LINK} ${ZORVE_GIF_LINK})
  endif()
  zorve_pkg_config(zorve-headless "The ZORVE graphics runtime without a display (tests, CI)"
                   PRESENTERS presenters-headless
                   ARCHIVES zorve zorve_presenter_headless zorve_platform zorve_codec
                   REQUIRES ${ZORVE_PC_PLATFORM_REQUIRES} LIBRARIES ${ZORVE_GIF_LINK})
endif()

# ---- CMake package --------------------------------------------------------------------
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
