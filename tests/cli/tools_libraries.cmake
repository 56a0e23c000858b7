# SPDX-License-Identifier: GPL-3.0-or-later
# The tools load only the Qt libraries they use: each library loaded costs every run its
# mapping and relocations. Neither needs the widgets or SVG; only equat-rtf (--printer) needs
# Qt's printing.
function(check tool)
  execute_process(COMMAND ${OBJDUMP} -p ${tool} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${tool}: exit ${rc}")
  endif()
  foreach(library ${ARGN})
    if(out MATCHES "NEEDED +lib${library}[.]")
      message(FATAL_ERROR "${tool} needs lib${library}")
    endif()
  endforeach()
endfunction()
check(${SHEET} Qt6Widgets Qt6PrintSupport Qt6Svg)
check(${RTF} Qt6Widgets Qt6Svg)
