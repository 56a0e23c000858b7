# SPDX-License-Identifier: GPL-3.0-or-later
# Configures a manual page with the lists of the tables (kinds, key styles, formats) as the
# built tool prints them, so that a page never lists a choice the program lacks.
# cmake -DTOOL=equat-sheet -DLANG=en|fr -DIN=page.1.in -DOUT=page.1 -DPROJECT_VERSION=x -P
execute_process(COMMAND ${TOOL} --man-lists ${LANG} OUTPUT_VARIABLE lists RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TOOL} --man-lists ${LANG} failed: ${status}")
endif()
file(WRITE ${OUT}.lists.cmake "${lists}")
include(${OUT}.lists.cmake)
configure_file(${IN} ${OUT} @ONLY)
