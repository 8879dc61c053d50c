# Runs one example headless under its script and checks what it did: exit status 0,
# the console lines it must print (in order), and its picture against the golden one.
#
#   cmake -DPROGRAM=... -DSCRIPT=... -DLINES=... -DEXPECTED=... -DWORK_DIR=...
#         -DPNG_DIFF=... -P run_example.cmake
cmake_minimum_required(VERSION 3.20)
get_filename_component(name ${EXPECTED} NAME_WE)
set(actual ${WORK_DIR}/${name}.png)
set(diff ${WORK_DIR}/${name}.diff.png)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ZORVE_HEADLESS=1 ZORVE_PLAY=${SCRIPT} ZORVE_SNAPSHOT=${actual}
          ${PROGRAM}
  WORKING_DIRECTORY ${WORK_DIR}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  TIMEOUT 50)
file(WRITE ${WORK_DIR}/${name}.out "${output}")
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "${name} ended with status ${status}\n--- stdout:\n${output}--- stderr:\n${errors}")
endif()

# Each wanted line must appear whole, after the one before it. @SCRIPT@ stands for the
# script's path; a ";" in a line is kept apart from CMake's list separator.
file(READ ${LINES} wanted)
string(REPLACE ";" "<semicolon>" wanted "${wanted}")
string(REPLACE "@SCRIPT@" "${SCRIPT}" wanted "${wanted}")
string(REGEX REPLACE "\n$" "" wanted "${wanted}")
string(REPLACE "\n" ";" wanted_lines "${wanted}")
string(REPLACE "\r" "" rest "${output}")
set(rest "\n${rest}")
foreach(line IN LISTS wanted_lines)
  string(REPLACE "<semicolon>" ";" line "${line}")
  string(FIND "${rest}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${name} did not print the line\n  ${line}\n(in order)"
                        "\n--- stdout:\n${output}")
  endif()
  string(LENGTH "\n${line}" skip)
  math(EXPR at "${at} + ${skip}")
  string(SUBSTRING "${rest}" ${at} -1 rest)
endforeach()

if(NOT EXISTS ${actual})
  message(FATAL_ERROR "${name} wrote no picture ${actual}\n--- stdout:\n${output}")
endif()
execute_process(COMMAND ${PNG_DIFF} ${EXPECTED} ${actual} ${diff}
                RESULT_VARIABLE same OUTPUT_VARIABLE said ERROR_VARIABLE trouble)
if(same STREQUAL "2")
  message(FATAL_ERROR "${name}: cannot compare the pictures: ${trouble}"
                      "  expected: ${EXPECTED}\n  actual:   ${actual}")
elseif(NOT same STREQUAL "0")
  message(FATAL_ERROR "${name}: the picture is not the golden one: ${said}"
                      "  expected: ${EXPECTED}\n  actual:   ${actual}\n  diff:     ${diff}"
                      " (differing pixels in red)")
endif()
