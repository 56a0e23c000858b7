# SPDX-License-Identifier: GPL-3.0-or-later
# Multiple choice end to end: every kind as a class set, each question with its four choices
# and its key with one letter; a copy's code gives its choices again; the options' rules.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(TOOL ${SHEET})
include(${CMAKE_CURRENT_LIST_DIR}/cli_common.cmake)

function(count_matches text regex var)
  string(REGEX MATCHALL "${regex}" found "${text}")
  list(LENGTH found n)
  set(${var} ${n} PARENT_SCOPE)
endfunction()

foreach(kind 1d 2d syst)
  run(0 --kind ${kind} --qcm --sheets 5 --count 6 --collate q${kind}.pdf --seed 7)
  pdf_text(q${kind}.pdf subject)
  pdf_text(q${kind}_Cor.pdf key)
  foreach(letter A B C D)
    count_matches("${subject}" "${letter}\\) " n)
    if(NOT n EQUAL 30)
      message(FATAL_ERROR "${kind}: ${n} choices ${letter} for 30 questions")
    endif()
  endforeach()
  count_matches("${key}" "R..?ponse : [A-D]" n)
  if(NOT n EQUAL 30)
    message(FATAL_ERROR "${kind}: ${n} right letters in the key for 30 questions")
  endif()
endforeach()

# The first copy again from its code: the same choices in the same order.
string(REGEX MATCH "Code : ([0-9A-Z-]+)" _ "${subject}")
run(0 --code ${CMAKE_MATCH_1} --pdf --output again.rtf)
pdf_text(again.pdf again)
string(REGEX MATCHALL "A\\) [^\n]*" first "${subject}")
string(REGEX MATCHALL "A\\) [^\n]*" rebuilt "${again}")
string(FIND "${first}" "${rebuilt}" at)  # the lines hold ";": compared as texts
if(NOT at EQUAL 0)
  message(FATAL_ERROR "the code gives other choices:\n${first}\n${rebuilt}")
endif()

run(0 --kind 1d --qcm --choices 3 --count 5 --seed 1 --pdf --output three.rtf)
pdf_text(three.pdf three)
count_matches("${three}" "C\\) " c)
count_matches("${three}" "D\\) " d)
if(NOT c EQUAL 5 OR NOT d EQUAL 0)
  message(FATAL_ERROR "--choices 3: ${c} choices C, ${d} choices D for 5 questions")
endif()

# A strip key gives each question's letter before its results.
run(0 --kind 1d --qcm --key strip --count 4 --seed 3 --output strip.rtf)
file(READ ${WORK}/strip_Cor.rtf strip)
count_matches("${strip}" "/   [A-D]  x = " n)
if(NOT n EQUAL 4)
  message(FATAL_ERROR "strip key: ${n} letters for 4 questions")
endif()

# The bank: well-formed, a multichoice question each, one right answer among four.
run(0 --automatismes --seed 2 --output auto.rtf --moodle auto.xml)
execute_process(COMMAND xmllint --noout auto.xml WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc
                ERROR_VARIABLE err)
file(READ ${WORK}/auto.xml xml)
count_matches("${xml}" "type=\"multichoice\"" questions)
count_matches("${xml}" "fraction=\"100\"" right)
count_matches("${xml}" "fraction=\"0\"" wrong)
if(NOT rc EQUAL 0 OR NOT questions EQUAL 12 OR NOT right EQUAL 12 OR NOT wrong EQUAL 36)
  message(FATAL_ERROR "bank: ${questions} questions, ${right} right, ${wrong} wrong\n${err}")
endif()
file(READ ${WORK}/auto_Cor.rtf auto)
count_matches("${auto}" "R\\\\'e9ponse" n)
if(NOT n EQUAL 12)
  message(FATAL_ERROR "--automatismes: ${n} right letters for 12 questions")
endif()

foreach(bad "--kind|1d|--choices|3" "--kind|1d|--qcm|--choices|5" "--automatismes|--kind|2d"
            "--automatismes|--count|5")
  string(REPLACE "|" ";" bad "${bad}")
  run(2 ${bad})
endforeach()
