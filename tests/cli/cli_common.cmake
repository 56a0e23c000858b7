# SPDX-License-Identifier: GPL-3.0-or-later
# What the tools' end-to-end scripts share: running the tool under test (TOOL) in WORK, and
# reading the PDFs it writes.

# Runs TOOL with the arguments and checks its exit status; last_err and last_out receive its
# stderr and stdout.
function(run expected)
  execute_process(COMMAND ${TOOL} ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected)
    message(FATAL_ERROR "${TOOL} ${ARGN}: exit ${rc}, expected ${expected}\n${out}${err}")
  endif()
  set(last_err "${err}" PARENT_SCOPE)
  set(last_out "${out}" PARENT_SCOPE)
endfunction()

# A row of a table of cases, fields apart by "#", into the variables named; "|" inside a
# field separates the items of a list.
macro(case_fields row)
  string(REPLACE "#" ";" _fields "${row}")
  set(_k 0)
  foreach(_name ${ARGN})
    list(GET _fields ${_k} ${_name})
    string(REPLACE "|" ";" ${_name} "${${_name}}")
    math(EXPR _k "${_k} + 1")
  endforeach()
endmacro()

# pdftotext of a file of WORK, or of its pages first..last.
function(pdf_text file var)
  set(range)
  if(ARGC GREATER 2)
    set(range -f ${ARGV2} -l ${ARGV3})
  endif()
  execute_process(COMMAND pdftotext ${range} ${WORK}/${file} - OUTPUT_VARIABLE text RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pdftotext cannot read ${file}")
  endif()
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

function(pdf_pages file var)
  execute_process(COMMAND pdfinfo ${WORK}/${file} OUTPUT_VARIABLE info)
  string(REGEX MATCH "Pages: *([0-9]+)" _ "${info}")
  set(${var} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()
