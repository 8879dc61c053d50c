# Libraries compiled from Debian's source packages, for builds that find no Debian
# library of their target (Windows with mingw-w64, the web with Emscripten): the same
# version as the native build's, so that every build runs the same code.
#
# `apt-get source` fetches the package (its files checked against the signed archive's
# sums) and unpacks it. It needs deb-src entries in apt's sources and dpkg-dev;
# scripts/lib/common.sh's ensure_deb_src sets up the first (scripts/test and
# scripts/lib/web.sh call it).

# Sets VAR to the folder of PACKAGE's unpacked source in FOLDER, the one that holds the
# file MARKER; fetches the package into FOLDER first when none is there yet.
#   zorve_debian_source(PACKAGE FOLDER MARKER VAR)
function(zorve_debian_source package folder marker var)
  file(GLOB found ${folder}/${package}-*/${marker})
  if(NOT found)
    message(STATUS "Fetching ${package}'s Debian source package")
    file(MAKE_DIRECTORY ${folder})
    execute_process(COMMAND apt-get source -q ${package}
                    WORKING_DIRECTORY ${folder}
                    RESULT_VARIABLE fetched OUTPUT_QUIET)
    file(GLOB found ${folder}/${package}-*/${marker})
    if(NOT fetched EQUAL 0 OR NOT found)
      message(FATAL_ERROR "`apt-get source ${package}` failed in ${folder}: it needs deb-src "
                          "entries in apt's sources and the package dpkg-dev "
                          "(scripts/test and scripts/lib/web.sh add both when run as root).")
    endif()
  endif()
  list(GET found 0 found)
  get_filename_component(source ${found} DIRECTORY)
  set(${var} ${source} PARENT_SCOPE)
endfunction()
