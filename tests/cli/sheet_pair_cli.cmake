# SPDX-License-Identifier: GPL-3.0-or-later
# On a full disk the tool replaces the subject and its answer key together or not at all:
# over an old pair, a run that has room for the subject but not for the key leaves both old
# files byte for byte and exits 1. Needs root for a small tmpfs; says SKIPPED otherwise.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND mount -t tmpfs -o size=512k tmpfs ${WORK} RESULT_VARIABLE mounted
                ERROR_QUIET)
if(NOT mounted EQUAL 0)
  message("SKIPPED: a full disk needs a small tmpfs, which only root can mount")
  return()
endif()

function(run expected)
  execute_process(COMMAND ${TOOL} ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected)
    execute_process(COMMAND umount ${WORK})
    message(FATAL_ERROR "equat-sheet ${ARGN}: exit ${rc}, expected ${expected}\n${out}${err}")
  endif()
endfunction()

run(0 --kind syst --level 3 --count 40 --seed 1 --output f.rtf)
file(SHA256 ${WORK}/f.rtf subject)
file(SHA256 ${WORK}/f_Cor.rtf key)
file(SIZE ${WORK}/f.rtf subject_size)
execute_process(COMMAND df --output=avail -B1 ${WORK} OUTPUT_VARIABLE avail)
string(REGEX MATCH "[0-9]+" avail "${avail}")
# Room for a new subject, not for a new answer key (which is larger).
math(EXPR filler "${avail} - ${subject_size} - ${subject_size} / 4")
execute_process(COMMAND fallocate -l ${filler} ${WORK}/filler)
run(1 --kind syst --level 3 --count 40 --seed 2 --output f.rtf)
file(SHA256 ${WORK}/f.rtf subject_after)
file(SHA256 ${WORK}/f_Cor.rtf key_after)
# A set of many pairs on the same full disk: every pair staged before the first rename, so
# none is left.
run(1 --kind syst --level 3 --count 40 --seed 3 --sheets 20 --output lot)
file(GLOB lot RELATIVE ${WORK} ${WORK}/lot/* ${WORK}/lot/.*)
file(REMOVE_RECURSE ${WORK}/lot)
file(GLOB left RELATIVE ${WORK} ${WORK}/* ${WORK}/.*)
file(REMOVE ${WORK}/filler)
run(0 --kind syst --level 3 --count 40 --seed 2 --output f.rtf)
file(SHA256 ${WORK}/f.rtf subject_new)
execute_process(COMMAND umount ${WORK})
if(NOT subject_after STREQUAL subject OR NOT key_after STREQUAL key)
  message(FATAL_ERROR "a failed run changed the old pair")
endif()
list(SORT left)
if(NOT left STREQUAL "f.rtf;f_Cor.rtf;filler")
  message(FATAL_ERROR "left behind: ${left}")
endif()
if(lot)
  message(FATAL_ERROR "a set that did not fit left: ${lot}")
endif()
if(subject_new STREQUAL subject)
  message(FATAL_ERROR "with room, the subject was not replaced")
endif()
