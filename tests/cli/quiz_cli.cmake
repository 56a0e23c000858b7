# SPDX-License-Identifier: GPL-3.0-or-later
# A quick quiz as a teacher makes one: copies four to a page, each its own code, the keys in
# the same order, a code that rebuilds its copy; strips of a class set side by side.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

set(TOOL ${SHEET})
include(${CMAKE_CURRENT_LIST_DIR}/cli_common.cmake)

run(0 --kind 1d --level 2 --quiz 4 --per-page 4 --sheets 8 --seed 5 --collate flash.pdf)
pdf_pages(flash.pdf pages)
pdf_text(flash.pdf subjects)
pdf_text(flash_Cor.pdf keys)
string(REGEX MATCHALL "Code : [2-9A-Z-]+" subject_codes "${subjects}")
string(REGEX MATCHALL "Code : [2-9A-Z-]+" key_codes "${keys}")
string(REGEX MATCHALL "[0-9]+°/" questions "${subjects}")
set(distinct ${subject_codes})
list(REMOVE_DUPLICATES distinct)
list(LENGTH distinct n)
list(LENGTH questions q)
if(NOT pages EQUAL 2 OR NOT n EQUAL 8 OR NOT q EQUAL 32)
  message(FATAL_ERROR "${pages} pages, ${n} distinct codes, ${q} questions")
endif()
if(NOT subject_codes STREQUAL key_codes)
  message(FATAL_ERROR "the keys are not in the order of the copies:\n${keys}")
endif()

# A copy's code gives it again as an RTF pair, its code and its quiz's title on it.
list(GET distinct 0 first)
string(REPLACE "Code : " "" first "${first}")
run(0 --code ${first} --raw --output copie)
file(READ ${WORK}/copie.rtf copy)
if(NOT copy MATCHES "${first}" OR NOT copy MATCHES "Nom :                    Classe :")
  message(FATAL_ERROR "the copy of ${first} lacks its code or its quiz title")
endif()

# Refused: a quiz without its PDF, a count beside it, two levels above the last.
foreach(args "--quiz;4;--sheets;2" "--quiz;4;--count;5;--collate;x.pdf"
             "--quiz;4;--level;3;--two-levels;--collate;x.pdf" "--quiz;9;--collate;x.pdf"
             "--per-page;4" "--quiz;3;--per-page;5;--collate;x.pdf")
  run(2 --kind 1d ${args})
endforeach()

# Two levels side by side, each copy with its level and the quiz's own texts, again by its
# code; strips of a set several to a page.
run(0 --kind syst --level 1 --quiz 3 --per-page 6 --two-levels --sheets 6 --title Interro
    --instruction Résoudre --collate deux.pdf)
pdf_pages(deux.pdf pages)
pdf_text(deux.pdf both)
string(REGEX MATCHALL "niveau [12]" levels "${both}")
string(REGEX MATCHALL "Code : [2-9A-Z-]+" codes "${both}")
if(NOT pages EQUAL 1 OR NOT levels MATCHES "^niveau 1;niveau 2;niveau 1;niveau 2"
   OR NOT both MATCHES "Interro" OR NOT both MATCHES "Résoudre")
  message(FATAL_ERROR "six copies on ${pages} pages, levels ${levels}:\n${both}")
endif()
list(GET codes 1 second)
string(REPLACE "Code : " "" second "${second}")
run(0 --code ${second} --two-levels --raw --output niveau)
file(READ ${WORK}/niveau.rtf copy)
if(NOT copy MATCHES "niveau 2")
  message(FATAL_ERROR "the copy of ${second} lacks its level")
endif()
run(0 --kind 2d --level 2 --count 10 --sheets 6 --key strip --collate bandes.pdf)
pdf_pages(bandes_Cor.pdf pages)
pdf_text(bandes_Cor.pdf strips)
if(pages GREATER 2 OR NOT strips MATCHES "Résultats" OR NOT strips MATCHES "x1 = ")
  message(FATAL_ERROR "six strips on ${pages} pages:\n${strips}")
endif()

# Copies too tall for their cells even at half size: refused whole, nothing written.
run(1 --kind syst --level 3 --quiz 6 --per-page 6 --interline 2 --sheets 6 --collate haut.pdf)
if(EXISTS ${WORK}/haut.pdf OR EXISTS ${WORK}/haut_Cor.pdf)
  message(FATAL_ERROR "a quiz with cut copies was written")
endif()
