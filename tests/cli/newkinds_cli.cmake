# SPDX-License-Identifier: GPL-3.0-or-later
# Every kind whose key is a solution set, at every level: a sheet of 40 questions with its exact
# key, whose text gives each question its set, and the sets in the notation of French classes.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

set(all "")
foreach(kind square product quotient ineq signs ineq2)
  foreach(level 1 2 3)
    execute_process(COMMAND ${SHEET} --kind ${kind} --level ${level} --count 40 --key exact
                            --seed 11 --output s.rtf
                    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
    execute_process(COMMAND ${RTF} s_Cor.rtf --to txt --output key.txt
                    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc2)
    if(NOT rc EQUAL 0 OR NOT rc2 EQUAL 0)
      message(FATAL_ERROR "--kind ${kind} --level ${level}: ${err}")
    endif()
    file(READ ${WORK}/key.txt text)
    # Each question's set after its statement, highlighted.
    string(REGEX MATCHALL "\tS = " sets "${text}")
    list(LENGTH sets n)
    if(NOT n EQUAL 40)
      message(FATAL_ERROR "--kind ${kind} --level ${level}: ${n} sets for 40 questions")
    endif()
    string(APPEND all "${text}")
  endforeach()
endforeach()
# The notations the classes write: values, the empty set, the reals (bold R), intervals open
# and closed at each end, unions, and the reals less a forbidden value.
foreach(pattern "S = {-[0-9]+/[0-9]+ ; [0-9]+/[0-9]+}" "S = ∅" "S = R[ \r\n]"
                "S = \\]-∞ ; -?[0-9/]+\\]" "S = \\[-?[0-9/]+ ; [0-9/]+\\["
                "S = \\]-∞ ; -?[0-9/]+\\[ ∪ \\[-?[0-9/]+ ; \\+∞\\[" "R \\\\ {-?[0-9/]+}")
  if(NOT all MATCHES "${pattern}")
    message(FATAL_ERROR "no key writes a set as ${pattern}")
  endif()
endforeach()
