# SPDX-License-Identifier: GPL-3.0-or-later
# The exports as a teacher makes them: every bank and every part of an OpenDocument file is
# well-formed XML; a class set's bank has a category per copy; LibreOffice reads an .odt to
# the text of our RTF, with the real signs.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

set(TOOL ${SHEET})
include(${CMAKE_CURRENT_LIST_DIR}/cli_common.cmake)

function(well_formed file)
  execute_process(COMMAND xmllint --noout ${file} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${file} is not well-formed XML:\n${err}")
  endif()
endfunction()

# The new user's run: 5 copies collated, their bank beside them, one category each.
run(0 --kind syst --level 2 --sheets 5 --seed 8 --collate c.pdf --moodle banque.xml)
well_formed(banque.xml)
file(READ ${WORK}/banque.xml bank)
string(REGEX MATCHALL "<category><text>[^<]*</text>" categories "${bank}")
list(REMOVE_DUPLICATES categories)
list(LENGTH categories n)
string(REGEX MATCHALL "<question type=\"cloze\">" questions "${bank}")
list(LENGTH questions q)
if(NOT n EQUAL 5 OR NOT q EQUAL 125)
  message(FATAL_ERROR "${n} categories and ${q} questions, expected 5 and 125")
endif()

# A roster's bank: each category names its pupil, hostile names kept inside well-formed XML.
file(WRITE ${WORK}/noms.txt "Zoé ]]> <b>x</b>\nAdam/Petit\n")
run(0 --kind 2d --count 3 --roster noms.txt --collate noms.pdf --moodle noms.xml)
well_formed(noms.xml)
file(READ ${WORK}/noms.xml bank)
foreach(name "Zoé ]]&gt; &lt;b&gt;x&lt;//b&gt;</text>" "Adam//Petit</text>")
  string(FIND "${bank}" " ${name}" at)
  if(at LESS 0)
    message(FATAL_ERROR "no category names ${name}")
  endif()
endforeach()

# Each kind and level: the banks, the .odt pair beside the RTF pair, every part well-formed.
foreach(kind 1d 2d syst)
  foreach(level 1 2 3)
    set(stem ${kind}-${level})
    set(gift)
    if(kind STREQUAL "1d")
      set(gift --gift ${stem}.txt)
    endif()
    run(0 --kind ${kind} --level ${level} --seed ${level} --key detailed --odt --output ${stem}.rtf
        --moodle ${stem}.xml ${gift})
    well_formed(${stem}.xml)
    foreach(odt ${stem}.odt ${stem}_Cor.odt)
      foreach(part content.xml styles.xml meta.xml META-INF/manifest.xml)
        file(REMOVE_RECURSE ${WORK}/x)
        file(ARCHIVE_EXTRACT INPUT ${WORK}/${odt} DESTINATION ${WORK}/x)
        well_formed(x/${part})
      endforeach()
    endforeach()
  endforeach()
endforeach()
# The bank's feedback has each graph whatever the key's style and layout.
foreach(key "decimal;--adapted" "strip" "strip;--adapted")
  run(0 --kind 2d --count 3 --seed 1 --graph --key ${key} --moodle graphs.xml)
  file(READ ${WORK}/graphs.xml bank)
  string(REGEX MATCHALL "<img " images "${bank}")
  list(LENGTH images n)
  if(NOT n EQUAL 3)
    message(FATAL_ERROR "--key ${key}: ${n} graphs in the bank of 3 questions")
  endif()
endforeach()
run(2 --kind 2d --gift g.txt)
run(0 --kind quotient --level 1 --seed 1 --gift q.txt)

# LaTeX beside a pair and of a collated set (a copy a page), a source for AMC; a subject
# named .tex is refused. The tests of outputs compile them.
run(0 --kind 1d --count 3 --seed 2 --latex --amc one-amc.tex --output p.rtf)
run(0 --kind syst --count 3 --sheets 3 --seed 4 --collate c3.pdf --latex --amc c3-amc.tex)
foreach(f p.tex p_Cor.tex one-amc.tex c3.tex c3_Cor.tex c3-amc.tex)
  if(NOT EXISTS ${WORK}/${f})
    message(FATAL_ERROR "--latex or --amc did not write ${f}")
  endif()
endforeach()
file(READ ${WORK}/c3.tex set)
string(REGEX MATCHALL "newpage" pages "${set}")
list(LENGTH pages n)
if(NOT n EQUAL 2)
  message(FATAL_ERROR "${n} page breaks between 3 copies")
endif()
run(2 --kind 1d --latex --output x.tex)
run(2 --kind 1d --sheets 2 --collate d.pdf --odt)

# LibreOffice (slow: one run, two small files, where it is installed) reads the detailed keys
# of a system and of a second-degree sheet to the text our RTF reader gives, with the braces,
# Δ, √ and ≈ as real characters.
find_program(SOFFICE soffice)
if(NOT SOFFICE)
  message("LibreOffice not found: the .odt text was not compared")
  return()
endif()
run(0 --kind syst --level 3 --count 3 --seed 5 --key detailed --odt --output lo-syst.rtf)
run(0 --kind 2d --level 3 --count 3 --seed 6 --key detailed --odt --output lo-2d.rtf)
execute_process(COMMAND ${SOFFICE} --headless -env:UserInstallation=file://${WORK}/lo-profile
                        "--convert-to" "txt:Text (encoded):UTF8" --outdir ${WORK}/lo
                        ${WORK}/lo-syst_Cor.odt ${WORK}/lo-2d_Cor.odt
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "LibreOffice could not convert: ${rc}")
endif()
foreach(case "lo-syst#⎧|⎨|⎩|≈" "lo-2d#Δ|√|≈")
  case_fields("${case}" stem signs)
  execute_process(COMMAND ${RTF} ${WORK}/${stem}_Cor.rtf --to txt --output ${WORK}/${stem}.ours.txt
                  RESULT_VARIABLE rc)
  file(READ ${WORK}/lo/${stem}_Cor.txt theirs)
  file(READ ${WORK}/${stem}.ours.txt ours)
  foreach(text theirs ours)
    string(REPLACE "﻿" "" ${text} "${${text}}")  # the byte-order mark
    string(REPLACE "\r" "" ${text} "${${text}}")
    string(REGEX REPLACE "\n+$" "" ${text} "${${text}}")
  endforeach()
  if(NOT rc EQUAL 0 OR NOT theirs STREQUAL ours)
    message(FATAL_ERROR "LibreOffice reads another text from ${stem}_Cor.odt:\n${theirs}\n---- ours:\n${ours}")
  endif()
  foreach(sign ${signs})
    string(FIND "${theirs}" "${sign}" at)
    if(at LESS 0)
      message(FATAL_ERROR "no ${sign} in LibreOffice's text of ${stem}_Cor.odt")
    endif()
  endforeach()
endforeach()
