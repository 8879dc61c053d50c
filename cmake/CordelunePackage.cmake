# The card designer as an application people install, and its packages. Included by the
# top-level CMakeLists.txt after the runtime's own package (ZorvePackage.cmake).
#
# The icon: cordelune-icons (tools/) draws a heart with the runtime, headless, at build
# time and writes it in the sizes desktops ask for, in the hicolor theme's layout under
# the build folder (share/icons/hicolor/NxN/apps/cordelune.png): the platform looks for a
# program's icon there beside the executable, and under its prefix once installed. The
# cross build compiles the same icons into cordelune.exe's resources (cordelune.ico),
# with a cordelune-icons built for the build machine (CORDELUNE_ICON_TOOL, or one built
# here in host-tools/).
#
# Packages (the `package` target, CPack), each made of install components:
#   sdk        the runtime's package (`cmake --install` installs just this), zorve-run;
#              and for packages only: docs/api.md with its pictures, the examples, the
#              manual page                                             libzorve-dev
#   designer   cordelune, its desktop entry, icons, manual page        cordelune
#   examples   the examples' programs                                  (Windows zip)
# Natively the DEB generator makes cordelune_VERSION_amd64.deb and
# libzorve-dev_VERSION_amd64.deb; the cross build makes cordelune-VERSION-win64.zip
# (cordelune.exe at its top, the examples in examples/, the SDK in include/ and lib/).
# Both land in packages/ of the build folder. Parts only packages carry are
# EXCLUDE_FROM_ALL: `cmake --install build --component designer` installs the designer.
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

if(WIN32)
  # The icon and the version as resources of cordelune.exe.
  enable_language(RC)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/cordelune.rc.in ${PROJECT_BINARY_DIR}/cordelune.rc @ONLY)
  target_sources(cordelune PRIVATE ${PROJECT_BINARY_DIR}/cordelune.rc)
  set_source_files_properties(${PROJECT_BINARY_DIR}/cordelune.rc PROPERTIES OBJECT_DEPENDS ${CORDELUNE_ICO})
endif()

if(NOT ZORVE_INSTALL)
  return()
endif()

# ---- what the packages install beyond the runtime's package -----------------------------
file(GLOB example_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.c)
set(CORDELUNE_PACKAGE_CONTACT "ZORVE runtime team <zorve-help@cordelune.example>")
if(WIN32)
  install(TARGETS cordelune RUNTIME DESTINATION . COMPONENT designer EXCLUDE_FROM_ALL)
  foreach(source IN LISTS example_sources)
    get_filename_component(name ${source} NAME_WE)
    install(TARGETS example_${name} RUNTIME DESTINATION examples COMPONENT examples EXCLUDE_FROM_ALL)
  endforeach()
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/scripts DESTINATION examples
          COMPONENT examples EXCLUDE_FROM_ALL)
else()
  include(GNUInstallDirs)
  # Files Debian asks of every package: the copyright, and the changelog compressed, as
  # the manual pages are.
  set(packaging ${PROJECT_BINARY_DIR}/packaging)
  function(cordelune_gzip file)
    # -n: no name or time stamp inside, so the same text gives the same bytes.
    execute_process(COMMAND gzip -9 -n -c ${file} OUTPUT_FILE ${file}.gz RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "gzip could not compress ${file}")
    endif()
  endfunction()
  foreach(component_package designer:cordelune sdk:libzorve-dev)
    string(REPLACE ":" ";" component_package ${component_package})
    list(GET component_package 0 component)
    list(GET component_package 1 ZORVE_DEB_PACKAGE)
    set(doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/${ZORVE_DEB_PACKAGE})
    configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${packaging}/${ZORVE_DEB_PACKAGE}/changelog @ONLY)
    cordelune_gzip(${packaging}/${ZORVE_DEB_PACKAGE}/changelog)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${packaging}/${ZORVE_DEB_PACKAGE}/changelog.gz
            DESTINATION ${doc} COMPONENT ${component} EXCLUDE_FROM_ALL)
  endforeach()
  foreach(page cordelune zorve-run)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/${page}.1.in ${packaging}/${page}.1 @ONLY)
    cordelune_gzip(${packaging}/${page}.1)
  endforeach()

  install(TARGETS cordelune RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT designer EXCLUDE_FROM_ALL)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/cordelune.desktop
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT designer EXCLUDE_FROM_ALL)
  install(DIRECTORY ${PROJECT_BINARY_DIR}/share/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons
          COMPONENT designer EXCLUDE_FROM_ALL)
  install(FILES ${packaging}/cordelune.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT designer EXCLUDE_FROM_ALL)

  set(doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/libzorve-dev)
  install(FILES ${packaging}/zorve-run.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT sdk EXCLUDE_FROM_ALL)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/api.md DESTINATION ${doc} COMPONENT sdk EXCLUDE_FROM_ALL)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/pictures DESTINATION ${doc}
          COMPONENT sdk EXCLUDE_FROM_ALL FILES_MATCHING PATTERN "*.png")
  install(FILES ${example_sources} DESTINATION ${doc}/examples COMPONENT sdk EXCLUDE_FROM_ALL)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/scripts ${PROJECT_SOURCE_DIR}/examples/grading
          DESTINATION ${doc}/examples USE_SOURCE_PERMISSIONS COMPONENT sdk EXCLUDE_FROM_ALL)
endif()

# ---- CPack ------------------------------------------------------------------------------
set(CPACK_VERBATIM_VARIABLES ON)  # descriptions hold quotes
set(CPACK_PACKAGE_NAME cordelune)
set(CPACK_PACKAGE_VENDOR "ZORVE runtime team")
set(CPACK_PACKAGE_CONTACT ${CORDELUNE_PACKAGE_CONTACT})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_OUTPUT_FILE_PREFIX packages)  # of the folder cpack runs in: the build folder
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL designer examples sdk)
  set(CPACK_PACKAGE_FILE_NAME cordelune-${PROJECT_VERSION}-win64)
  set(CPACK_ARCHIVE_FILE_NAME ${CPACK_PACKAGE_FILE_NAME})
  # Unpacked, one folder of that name.
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL designer sdk)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries the programs are linked with, as dpkg-shlibdeps finds them, and what
  # else they need.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

  set(CPACK_DEBIAN_DESIGNER_PACKAGE_NAME cordelune)
  set(CPACK_DEBIAN_DESIGNER_PACKAGE_SECTION graphics)
  # Text is drawn with the Liberation faces, whatever the machine's font preferences.
  set(CPACK_DEBIAN_DESIGNER_PACKAGE_DEPENDS "fonts-liberation")
  set(CPACK_DEBIAN_DESIGNER_DESCRIPTION [[Valentine's greeting-card designer
Cordelune puts hearts, starbursts, faces and greetings ("LUV U",
"Be Mine", ...) on a card, with a control panel of seven buttons and the
mouse. Hearts pulse and starbursts sparkle while you edit; Ctrl+S keeps a
picture of the card as a PNG file. Sessions can be recorded and played
back, also without a display.]])

  # What a program built on the runtime needs to compile and link: FLTK and the X
  # libraries (the desktop presenter), FreeType and fontconfig (text), pkg-config, and
  # the C++ library of the compiler the archives were built with.
  string(REGEX MATCH "^[0-9]+" ZORVE_CXX_MAJOR ${CMAKE_CXX_COMPILER_VERSION})
  set(CPACK_DEBIAN_SDK_PACKAGE_NAME libzorve-dev)
  set(CPACK_DEBIAN_SDK_PACKAGE_SECTION libdevel)
  set(CPACK_DEBIAN_SDK_PACKAGE_DEPENDS
      "libfltk1.3-dev, libx11-dev, libfreetype-dev, libfontconfig-dev, libgif-dev, pkg-config, fonts-liberation, libstdc++-${ZORVE_CXX_MAJOR}-dev")
  set(CPACK_DEBIAN_SDK_DESCRIPTION [[ZORVE graphics runtime for simple interactive C programs
ZORVE gives a C or C++ program one graphics window with a centred, y-up
coordinate system, 24 named colours, drawing calls that correct bad arguments,
and events (click, key, periodic tick, quit); a Run menu records and plays
back sessions, and programs also run without a display (ZORVE_HEADLESS=1).
.
This package holds the header, the static libraries (with real windows
through FLTK, or headless only), their CMake package and pkg-config files,
zorve-run, which runs a program headless under a script and judges its
picture, the reference (api.md) and the examples, with a graded exercise.]])
endif()
include(CPack)
