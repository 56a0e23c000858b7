# SPDX-License-Identifier: GPL-3.0-or-later
# The tools speak the locale's language: French under fr_*, English otherwise, for the help,
# their own messages and those the core makes; so does the window's --help.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/in.rtf "{\\rtf1 a\\par}")
include(${CMAKE_CURRENT_LIST_DIR}/cli_common.cmake)

# Locale variables, the tool and its arguments (separated by "|"), what stderr (or stdout
# for --help) must hold, apart by "#".
set(cases
  "LANG=fr_FR.UTF-8#${SHEET}|--help#Produit une feuille"
  "LANG=C#${SHEET}|--help#Generate a worksheet"
  "LANG=fr_FR.UTF-8#${SHEET}|--count|2|--count|3#l'option --count est donn"
  "LANG=C.UTF-8#${SHEET}|--count|2|--count|3#option --count given twice"
  "LANG=C|LC_MESSAGES=fr_BE.UTF-8#${SHEET}|--code|23456789AB#Un code a 16 caract"
  "LANG=fr_FR.UTF-8|LC_ALL=C#${SHEET}|--code|23456789AB#A code has 16 characters in four groups .or 11, or 14 in three groups, for an older code.. this one has 10: check the code"
  "LANG=fr_FR.UTF-8#${RTF}|--help#ENTR"
  "LANG=C#${RTF}#no input file"
  "LANG=fr_FR.UTF-8#${RTF}|x.rtf|--to|txt#x.rtf ne peut pas ..tre lu : "
  "LANG=fr_FR.UTF-8#${RTF}|in.rtf|--to|txt|--output|/proc/x.txt#impossible d.+crire /proc/x.txt : cr..ation : "
  "LANG=C#${RTF}|in.rtf|--to|txt|--output|/proc/x.txt#cannot write /proc/x.txt: create: "
  "LANG=fr_FR.UTF-8#${WINDOW}|--help#Ouvre la fen"
  "LANG=C#${WINDOW}|--help#Open the window"
)
foreach(case IN LISTS cases)
  case_fields("${case}" env cmd says)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LC_ALL --unset=LC_MESSAGES
                          --unset=LANGUAGE ${env} ${cmd}
                  WORKING_DIRECTORY ${WORK} OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT "${out}${err}" MATCHES "${says}")
    message(FATAL_ERROR "${env} ${cmd}: expected \"${says}\", got:\n${out}${err}")
  endif()
endforeach()
