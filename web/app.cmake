# The site as an app that a person installs from the browser and uses offline, and as
# a tarball for any static host. Included by web/CMakeLists.txt before the pages:
#   - cordelune.webmanifest: the app's name, its start page (the designer), its icons;
#   - zorve_worker.js, the service worker (web/zorve_worker.js, filled in by
#     web/site.mjs after every build), and zorve_offline.js, which registers it;
#   - NAME.br and NAME.gz beside the large files, for servers that send them;
#   - target web_site (part of the build): the worker and the compressed files;
#   - target web_bundle: cordelune-VERSION-web.tar.gz in the build folder, the site in
#     one folder of that name.

find_program(ZORVE_NODE NAMES node nodejs REQUIRED)

# The app's icons, as icons/cordelune-NxN.png of the site: the heart that site_icons
# (web/site_icons.cpp) draws with the runtime headless under Node at build time, in the
# sizes of ZORVE_WEB_ICON_SIZES; or, when ZORVE_WEB_ICONS lists PNG files (icons made
# elsewhere, of any size, which must exist when the build is configured), those. The
# manifest lists them all (browsers want one of 144 pixels or more to install an app,
# 192 and 512 by preference); the smallest of at least 32 is the pages' favicon.
set(ZORVE_WEB_ICONS "" CACHE STRING "PNG icons of the web app instead of the heart the build draws")
set(ZORVE_WEB_ICON_SIZES 32 192 512 CACHE STRING "Sizes of the heart icons the build draws")
set(ZORVE_WEB_MANIFEST_ICONS "")
set(ZORVE_WEB_ICON_FILES "")
set(favicon "")
set(favicon_size 0)
macro(zorve_web_icon name w h)
  list(APPEND ZORVE_WEB_ICON_FILES ${name})
  if(ZORVE_WEB_MANIFEST_ICONS)
    string(APPEND ZORVE_WEB_MANIFEST_ICONS ",")
  endif()
  string(APPEND ZORVE_WEB_MANIFEST_ICONS
         "\n    { \"src\": \"${name}\", \"sizes\": \"${w}x${h}\", \"type\": \"image/png\", \"purpose\": \"any\" }")
  if(${w} GREATER_EQUAL 32 AND (favicon_size EQUAL 0 OR ${w} LESS favicon_size))
    set(favicon ${name})
    set(favicon_size ${w})
  endif()
endmacro()
if(ZORVE_WEB_ICONS)
  foreach(icon ${ZORVE_WEB_ICONS})
    if(NOT EXISTS "${icon}")
      message(FATAL_ERROR "ZORVE_WEB_ICONS: ${icon} does not exist")
    endif()
    # A PNG's signature, then the IHDR chunk: width and height, 4 bytes each, big-endian.
    file(READ "${icon}" head LIMIT 24 HEX)
    string(SUBSTRING "${head}" 0 16 signature)
    string(SUBSTRING "${head}" 24 8 chunk)
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT chunk STREQUAL "49484452")
      message(FATAL_ERROR "ZORVE_WEB_ICONS: ${icon} is not a PNG file")
    endif()
    string(SUBSTRING "${head}" 32 8 w)
    string(SUBSTRING "${head}" 40 8 h)
    math(EXPR w "0x${w}")
    math(EXPR h "0x${h}")
    configure_file("${icon}" ${ZORVE_SITE}/icons/cordelune-${w}x${h}.png COPYONLY)
    zorve_web_icon(icons/cordelune-${w}x${h}.png ${w} ${h})
  endforeach()
else()
  add_executable(site_icons ${ZORVE_WEB_DIR}/site_icons.cpp)
  target_link_libraries(site_icons PRIVATE zorve zorve_display_headless zorve_codec)
  # A program for Node that reads and writes the build machine's files.
  target_link_options(site_icons PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)
  set_target_properties(site_icons PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools
                        CXX_LINKER_LAUNCHER "${ZORVE_WEB_LINK_LAUNCHER}")
  set(drawn "")
  foreach(n ${ZORVE_WEB_ICON_SIZES})
    zorve_web_icon(icons/cordelune-${n}x${n}.png ${n} ${n})
    list(APPEND drawn ${ZORVE_SITE}/icons/cordelune-${n}x${n}.png)
  endforeach()
  add_custom_command(OUTPUT ${drawn} VERBATIM
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZORVE_SITE}/icons
    # Without fetch, Node reads the program's .wasm from its file.
    COMMAND ${ZORVE_NODE} --no-experimental-fetch $<TARGET_FILE:site_icons> ${ZORVE_SITE}/icons ${ZORVE_WEB_ICON_SIZES}
    DEPENDS site_icons
    COMMENT "The web app's icons: the heart, drawn headless")
  add_custom_target(web_icons DEPENDS ${drawn})
endif()
if(ZORVE_WEB_MANIFEST_ICONS)
  string(APPEND ZORVE_WEB_MANIFEST_ICONS "\n  ")
endif()
configure_file(${ZORVE_WEB_DIR}/cordelune.webmanifest.in ${ZORVE_SITE}/cordelune.webmanifest @ONLY)
configure_file(${ZORVE_WEB_DIR}/zorve_offline.js ${ZORVE_SITE}/zorve_offline.js COPYONLY)

# What the site's pages carry in their <head> (@ZORVE_PAGE_APP_HEAD@).
set(ZORVE_WEB_APP_HEAD "<link rel=\"manifest\" href=\"cordelune.webmanifest\">
<meta name=\"theme-color\" content=\"#3a6ea5\">")
if(favicon)
  string(APPEND ZORVE_WEB_APP_HEAD "\n<link rel=\"icon\" href=\"${favicon}\" type=\"image/png\">")
endif()
string(APPEND ZORVE_WEB_APP_HEAD "\n<script src=\"zorve_offline.js\" defer></script>")

# The worker, the compressed files and the bundle, once every page is built.
function(zorve_web_app_targets)
  # Kept from the worker's install on: the designer's page and all it loads (its fonts
  # are inside its program).
  set(precache ./ index.html cordelune.html cordelune.js cordelune.wasm ${ZORVE_WEB_PAGE_FILES}
      zorve_offline.js cordelune.webmanifest ${ZORVE_WEB_ICON_FILES})
  add_custom_target(web_site ALL VERBATIM
    COMMAND ${ZORVE_NODE} ${ZORVE_WEB_DIR}/site.mjs worker ${ZORVE_SITE} ${ZORVE_WEB_DIR}/zorve_worker.js
            zorve_worker.js ${precache}
    DEPENDS ${ZORVE_WEB_DIR}/site.mjs ${ZORVE_WEB_DIR}/zorve_worker.js
    COMMENT "The site as an app: service worker and precompressed files")
  add_dependencies(web_site ${ZORVE_WEB_PROGRAMS})
  if(TARGET web_icons)
    add_dependencies(web_site web_icons)
  endif()

  set(bundle cordelune-${PROJECT_VERSION}-web)
  set(stage ${CMAKE_BINARY_DIR}/bundle)
  # Files keep their times (cp -p; CMake's copy_directory gives them the copy's), which
  # static hosts make their validators of and by which a server knows a compressed form
  # is not older than its file.
  add_custom_target(web_bundle VERBATIM
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
    COMMAND cp -pR ${ZORVE_SITE} ${stage}/${bundle}
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar czf ${CMAKE_BINARY_DIR}/${bundle}.tar.gz
            ${bundle}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMENT "The static site: ${bundle}.tar.gz")
  add_dependencies(web_bundle web_site)
endfunction()
