# SPDX-License-Identifier: GPL-3.0-or-later
# Each page of a PDF holds the text of what it shows and nothing more: the text of the
# subjects and answer keys, every kind and level, at every interline, names each numbered
# question exactly once, and no page ends on a separator line whose question is on the next.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(check_once rtf count)
  execute_process(COMMAND ${RTF} ${rtf} --to pdf --output out.pdf WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  execute_process(COMMAND pdftotext out.pdf - WORKING_DIRECTORY ${WORK} OUTPUT_VARIABLE text)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${rtf}: equat-rtf failed: ${err}")
  endif()
  # pdftotext ends each page with a form feed: the line before it must not be a separator.
  string(ASCII 12 ff)
  string(REGEX MATCH "---\n*${ff}[^${ff}]" stranded "${text}")
  if(stranded)
    message(FATAL_ERROR "${rtf}: a page ends on a separator line")
  endif()
  foreach(n RANGE 1 ${count})
    string(REGEX MATCHALL "(^|[^0-9])${n}°/" found "${text}")
    list(LENGTH found times)
    if(NOT times EQUAL 1)
      message(FATAL_ERROR "${rtf}: question ${n} found ${times} times in the PDF's text")
    endif()
  endforeach()
endfunction()

foreach(kind 1d 2d syst)
  foreach(level 1 2 3)
    foreach(interline RANGE 0 10)
      execute_process(COMMAND ${SHEET} --kind ${kind} --level ${level} --count 40
                              --interline ${interline} --seed 7 --output s.rtf
                      WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc)
      if(NOT rc EQUAL 0)
        message(FATAL_ERROR "equat-sheet --kind ${kind} --level ${level} failed")
      endif()
      check_once(s.rtf 40)
    endforeach()
    # The answer key has no interline.
    check_once(s_Cor.rtf 40)
  endforeach()
endforeach()
