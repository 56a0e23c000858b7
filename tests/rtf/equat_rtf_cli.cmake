# SPDX-License-Identifier: GPL-3.0-or-later
# Runs equat-rtf as a script would and checks statuses and files.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run expected)
  execute_process(COMMAND ${TOOL} ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected)
    message(FATAL_ERROR "equat-rtf ${ARGN}: exit ${rc}, expected ${expected}\n${out}${err}")
  endif()
  if(NOT expected EQUAL 0 AND NOT err MATCHES "^equat-rtf: ")
    message(FATAL_ERROR "equat-rtf ${ARGN}: no clear message on stderr: ${err}")
  endif()
endfunction()

file(COPY ${DATA}/symbol_forms.rtf DESTINATION ${WORK})

# Plain text beside the input, UTF-8 with the Symbol characters as real Unicode.
run(0 symbol_forms.rtf --to txt)
file(READ ${WORK}/symbol_forms.txt txt)
if(NOT txt STREQUAL "Δ ⎧⎨⎩ Δ ΔΔx")
  message(FATAL_ERROR "unexpected text: ${txt}")
endif()

# Our RTF, read again, gives the same text.
run(0 symbol_forms.rtf --to rtf --output again.rtf)
run(0 again.rtf --to=txt --output=again.txt)
file(READ ${WORK}/again.txt again)
if(NOT again STREQUAL txt)
  message(FATAL_ERROR "the written RTF reads as: ${again}")
endif()

# Failures: a clear message, a status, nothing half-written.
run(1 missing.rtf --to txt)
run(1 ${WORK} --to txt --output dir.txt)
run(1 symbol_forms.rtf --to txt --output no/such/folder/x.txt)
run(2 symbol_forms.rtf)
run(2 symbol_forms.rtf --to doc)
run(2 --to txt)
run(2 symbol_forms.rtf --to txt --bogus)
run(2 again.rtf --to rtf)
file(GLOB leftovers ${WORK}/*~ ${WORK}/dir.txt)
if(leftovers)
  message(FATAL_ERROR "left behind: ${leftovers}")
endif()
