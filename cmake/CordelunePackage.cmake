# The card designer as an application people install. Included by the top-level
# CMakeLists.txt after the runtime's own package (ZorvePackage.cmake).
#
# The icon: cordelune-icons (tools/) draws a heart with the runtime, headless, at build
# time and writes it in the sizes desktops ask for, in the hicolor theme's layout under
# the build folder (share/icons/hicolor/NxN/apps/cordelune.png): the platform looks for a
# program's icon there beside the executable, and under its prefix once installed. The
# cross build makes the same icons with a cordelune-icons built for the build machine
# (CORDELUNE_ICON_TOOL, or one built here in host-tools/).
if(NOT PROJECT_IS_TOP_LEVEL OR NOT TARGET cordelune)
  return()
endif()

# ---- the icon ---------------------------------------------------------------------------
set(CORDELUNE_ICON_SIZES 16 24 32 48 64 128 256)
set(CORDELUNE_ICON_FILES "")
foreach(size IN LISTS CORDELUNE_ICON_SIZES)
  list(APPEND CORDELUNE_ICON_FILES ${PROJECT_BINARY_DIR}/share/icons/hicolor/${size}x${size}/apps/cordelune.png)
endforeach()
set(CORDELUNE_ICO ${PROJECT_BINARY_DIR}/cordelune.ico)
if(CMAKE_CROSSCOMPILING)
  set(CORDELUNE_ICON_TOOL "" CACHE FILEPATH
      "cordelune-icons of a native build of this tree (empty: one is built in host-tools/)")
  if(CORDELUNE_ICON_TOOL)
    set(icon_tool ${CORDELUNE_ICON_TOOL})
    set(icon_tool_depends ${CORDELUNE_ICON_TOOL})
  else()
    # The runtime, platform and headless presenter for the build machine, nothing else.
    include(ExternalProject)
    set(icon_tool ${PROJECT_BINARY_DIR}/host-tools/cordelune-icons)
    ExternalProject_Add(cordelune_host_icon_tool
      SOURCE_DIR ${PROJECT_SOURCE_DIR}
      BINARY_DIR ${PROJECT_BINARY_DIR}/host-tools
      CMAKE_ARGS -DCMAKE_BUILD_TYPE=Debug -DZORVE_TESTS=OFF -DZORVE_BENCH=OFF -DZORVE_DESKTOP=OFF
                 -DZORVE_INSTALL=OFF
      BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target cordelune-icons
      BUILD_BYPRODUCTS ${icon_tool}
      BUILD_ALWAYS ON
      INSTALL_COMMAND "")
    set(icon_tool_depends cordelune_host_icon_tool ${icon_tool})
  endif()
else()
  set(icon_tool $<TARGET_FILE:cordelune-icons>)
  set(icon_tool_depends cordelune-icons)
endif()
add_custom_command(OUTPUT ${CORDELUNE_ICON_FILES} ${CORDELUNE_ICO}
                   COMMAND ${icon_tool} ${PROJECT_BINARY_DIR}
                   DEPENDS ${icon_tool_depends}
                   COMMENT "Drawing the designer's icon with the runtime"
                   VERBATIM)
add_custom_target(cordelune_icons ALL DEPENDS ${CORDELUNE_ICON_FILES} ${CORDELUNE_ICO})
add_dependencies(cordelune cordelune_icons)

