# SPDX-License-Identifier: GPL-3.0-or-later
# The batch tool against hostile rosters and paths, a signal while it replaces files, and
# parallel runs writing the same files: a clear refusal or a whole set, never a mix.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/sub)

set(TOOL ${SHEET})
include(${CMAKE_CURRENT_LIST_DIR}/cli_common.cmake)

file(WRITE ${WORK}/r.txt "Zoé\nAdam\n")
string(ASCII 1 soh)
file(WRITE ${WORK}/ctl.txt "Adam\nA\tb${soh}c\n")
string(REPEAT "a\n" 201 many)
file(WRITE ${WORK}/many.txt "${many}")
string(REPEAT "x" 70000 big)
file(WRITE ${WORK}/big.txt "${big}")
file(SHA256 ${WORK}/r.txt roster)

# Arguments (separated by "|"), the exit status, what the message says, apart by "#".
set(cases
  "--roster|r.txt|--collate|r.txt#2#finir par .pdf"
  "--roster|r.txt|--output|sub|--log|r.txt#2#liste des noms"
  "--roster|r.txt|--collate|c.pdf|--answers|c.pdf#2#deux fois"
  "--roster|r.txt|--collate|d.pdf|--answers|d_Cor.pdf#2#deux fois"
  "--roster|r.txt|--collate|note.txt#2#finir par .pdf"
  "--roster|r.txt|--collate|sub/#2#pas un dossier"
  "--roster|r.txt|--collate|.#2#pas un dossier"
  "--roster|r.txt|--collate|sub#2#pas un dossier"
  "--roster|sub|--collate|x.pdf#2#dossier"
  "--roster|/dev/zero|--collate|x.pdf#2#pas un fichier ordinaire"
  "--roster|big.txt|--collate|x.pdf#2#Ko"
  "--roster|many.txt|--collate|x.pdf#2#au plus 200 noms"
  "--roster|ctl.txt|--collate|x.pdf#2#Ligne 2 .*contr"
  "--roster|r.txt|--output|r.txt|--answers|g.pdf#1#r.txt"
  "--count|2|--count|3#2#deux fois"
  "--roster|r.txt|--collate|l.pdf|--answers|dangling.pdf#2#deux fois"
)
file(CREATE_LINK l.pdf ${WORK}/dangling.pdf SYMBOLIC)
foreach(case IN LISTS cases)
  case_fields("${case}" args status says)
  run(${status} --kind 1d --count 3 ${args})
  if(NOT last_err MATCHES "${says}")
    message(FATAL_ERROR "${args}: no clear message (${says}): ${last_err}")
  endif()
endforeach()
file(SHA256 ${WORK}/r.txt roster_after)
file(REMOVE ${WORK}/dangling.pdf)
file(GLOB pdfs RELATIVE ${WORK} ${WORK}/*.pdf ${WORK}/sub/* ${WORK}/.*)
if(NOT roster_after STREQUAL roster OR pdfs)
  message(FATAL_ERROR "a refused run wrote: ${pdfs}")
endif()

# Names as typed, without Qt's warning when there is no session.
file(WRITE ${WORK}/odd.txt "Zoé {x} \\par \\b O'Brien\r<te=72>\rE\\'e9mile")
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_RUNTIME_DIR ${SHEET} --kind 1d --count 2
                        --roster odd.txt --collate odd.pdf
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE err)
pdf_text(odd.pdf text)
string(REGEX REPLACE "[ \n]+" " " text "${text}")
foreach(name "Zoé {x} \\par \\b O'Brien" "<te=72>" "E\\'e9mile")
  string(FIND "${text}" "${name}" at)
  if(at LESS 0)
    message(FATAL_ERROR "${name} not shown as typed:\n${text}")
  endif()
endforeach()
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "exit ${rc}, stderr: ${err}")
endif()

# The teacher's own texts as typed in the PDF, every question kept.
run(0 --kind 2d --count 6 --seed 3 --title "Contrôle (ch. 3}" --instruction "C:\\Users\\prof"
    --separator "a < b {c} \\page" --pdf --output texts.rtf)
pdf_text(texts.pdf text)
foreach(shown "Contrôle (ch. 3}" "C:\\Users\\prof" "a < b {c} \\page" "6°/")
  string(FIND "${text}" "${shown}" at)
  if(at LESS 0)
    message(FATAL_ERROR "${shown} not shown as typed:\n${text}")
  endif()
endforeach()

# A signal at any moment of a run over an old set (each of those that end a run: Ctrl+C,
# kill, the terminal closed, Ctrl+\\): the four files old or new together, no staged file left (a PDF holds its time of making: a new one differs from the old).
function(hashes dir var)
  set(all)
  foreach(f s.rtf s_Cor.rtf s.pdf s_Cor.pdf)
    file(SHA256 ${dir}/${f} h)
    list(APPEND all ${h})
  endforeach()
  set(${var} "${all}" PARENT_SCOPE)
endfunction()
file(MAKE_DIRECTORY ${WORK}/new ${WORK}/sig)
set(make --kind syst --level 3 --count 40 --pdf --output s.rtf)
execute_process(COMMAND ${SHEET} ${make} --seed 2 WORKING_DIRECTORY ${WORK}/new OUTPUT_QUIET)
hashes(${WORK}/new new)
foreach(case "TERM#0.05" "HUP#0.1" "QUIT#0.15" "INT#0.2" "TERM#0.3" "HUP#0.4" "QUIT#0.5" "HUP#0.7"
             "QUIT#1.0")
  case_fields("${case}" signal delay)
  execute_process(COMMAND ${SHEET} ${make} --seed 1 WORKING_DIRECTORY ${WORK}/sig OUTPUT_QUIET)
  hashes(${WORK}/sig old)
  # No core file from SIGQUIT.
  execute_process(COMMAND sh -c "ulimit -c 0; exec timeout -s ${signal} ${delay} \"$@\"" sh
                          ${SHEET} ${make} --seed 2
                  WORKING_DIRECTORY ${WORK}/sig OUTPUT_QUIET ERROR_QUIET)
  hashes(${WORK}/sig now)
  file(GLOB staged ${WORK}/sig/.*)
  set(whole FALSE)
  if(now STREQUAL old)
    set(whole TRUE)
  else()
    list(SUBLIST now 0 2 rtf_now)
    list(SUBLIST new 0 2 rtf_new)
    list(GET now 2 p1)
    list(GET now 3 p2)
    list(GET old 2 o1)
    list(GET old 3 o2)
    if(rtf_now STREQUAL rtf_new AND NOT p1 STREQUAL o1 AND NOT p2 STREQUAL o2)
      set(whole TRUE)
    endif()
  endif()
  if(staged OR NOT whole)
    message(FATAL_ERROR "SIG${signal} after ${delay} s left a mixed set or ${staged}")
  endif()
endforeach()

# Eight runs at once over one pair and its log: the subject and its key always from one run,
# no run refused for a name it does not repeat.
file(MAKE_DIRECTORY ${WORK}/par)
foreach(round RANGE 1 16)
  set(commands)
  foreach(k RANGE 1 8)
    math(EXPR seed "${round} * 10 + ${k}")
    list(APPEND commands COMMAND ${SHEET} --kind 1d --count 40 --seed ${seed} --output same.rtf
                                 --log same.log)
  endforeach()
  execute_process(${commands} WORKING_DIRECTORY ${WORK}/par OUTPUT_QUIET ERROR_VARIABLE err)
  if(err MATCHES "deux fois")
    message(FATAL_ERROR "round ${round}: a run saw one file twice: ${err}")
  endif()
  file(READ ${WORK}/par/same.rtf subject)
  file(READ ${WORK}/par/same_Cor.rtf key)
  string(REGEX MATCH "Equat1d_N1_[0-9]+_[0-9]+" a "${subject}")
  string(REGEX MATCH "Equat1d_N1_[0-9]+_[0-9]+" b "${key}")
  if(NOT a OR NOT a STREQUAL b)
    message(FATAL_ERROR "round ${round}: subject ${a} beside key ${b}")
  endif()
endforeach()

# A roster named like a file written beside a pair is read, never replaced.
run(0 --kind 1d --count 3 --seed 4 --roster r.txt --output out)
string(REGEX MATCH "out/[^\n]*[.]rtf" first "${last_out}")
string(REGEX REPLACE "[.]rtf$" ".odt" beside "${first}")
file(COPY_FILE ${WORK}/r.txt ${WORK}/${beside})
run(1 --kind 1d --count 3 --seed 4 --roster ${beside} --output out --odt)
file(SHA256 ${WORK}/${beside} after)
if(NOT after STREQUAL roster OR NOT last_err MATCHES "lit ce fichier")
  message(FATAL_ERROR "the roster ${beside} was replaced or not named: ${last_err}")
endif()

# equat-rtf on hostile inputs and outputs: a refusal at once, the input kept; a sign XML
# cannot hold is dropped from the .odt.
file(WRITE ${WORK}/good.rtf "{\\rtf1 a\\u65534?b\\u65535?c\\u-2?d\\u1?e\\par}")
file(SHA256 ${WORK}/good.rtf good)
file(CREATE_LINK good.rtf ${WORK}/link.rtf SYMBOLIC)
execute_process(COMMAND mkfifo ${WORK}/fifo.rtf)
set(cases
  "fifo.rtf|--to|txt#1#pas un fichier ordinaire"
  "/dev/zero|--to|txt|--output|z.txt#1#pas un fichier ordinaire"
  "good.rtf|--to|txt|--output|good.rtf#2#est l'entr"
  "good.rtf|--to|rtf|--output|./link.rtf#2#est l'entr"
)
foreach(case IN LISTS cases)
  case_fields("${case}" args status says)
  execute_process(COMMAND timeout 20 ${RTF} ${args} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL status OR NOT err MATCHES "${says}")
    message(FATAL_ERROR "equat-rtf ${args}: exit ${rc}, expected ${status} (${says}): ${err}")
  endif()
endforeach()
file(SHA256 ${WORK}/good.rtf now)
execute_process(COMMAND ${RTF} good.rtf --to odt WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc)
file(ARCHIVE_EXTRACT INPUT ${WORK}/good.odt DESTINATION ${WORK}/odt)
execute_process(COMMAND xmllint --noout content.xml WORKING_DIRECTORY ${WORK}/odt
                RESULT_VARIABLE xml ERROR_VARIABLE err)
file(READ ${WORK}/odt/content.xml content)
if(NOT now STREQUAL good OR NOT rc EQUAL 0 OR NOT xml EQUAL 0 OR NOT content MATCHES ">abcde<")
  message(FATAL_ERROR "the input changed, or the .odt is not well-formed: ${err}")
endif()
