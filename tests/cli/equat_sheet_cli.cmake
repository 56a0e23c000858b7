# SPDX-License-Identifier: GPL-3.0-or-later
# Runs equat-sheet as a teacher or a script would and checks statuses and files.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

include(${CMAKE_CURRENT_LIST_DIR}/cli_common.cmake)

# One sheet: the pair and the log; the same seed gives the same bytes.
run(0 --kind 1d --level 2 --count 25 --seed 42 --output feuille.rtf --log log.txt)
run(0 --kind 1d --level 2 --count 25 --seed 42 --output again --log log2.txt)
foreach(f feuille.rtf feuille_Cor.rtf again.rtf again_Cor.rtf log.txt)
  if(NOT EXISTS ${WORK}/${f})
    message(FATAL_ERROR "missing ${f}")
  endif()
endforeach()
file(SHA256 ${WORK}/feuille.rtf a)
file(SHA256 ${WORK}/again.rtf b)
file(SHA256 ${WORK}/log.txt la)
file(SHA256 ${WORK}/log2.txt lb)
if(NOT a STREQUAL b OR NOT la STREQUAL lb)
  message(FATAL_ERROR "the same seed gave different documents")
endif()
file(STRINGS ${WORK}/log.txt entries REGEX "aleas=")
list(LENGTH entries n)
if(n LESS 25)
  message(FATAL_ERROR "log holds ${n} entries, expected 25 or more")
endif()

# An exact key: the same subject, another answer key; a style not offered is bad usage.
run(0 --kind 2d --level 2 --count 25 --seed 42 --output dec.rtf)
run(0 --kind 2d --level 2 --count 25 --seed 42 --output exact.rtf --key exact)
file(SHA256 ${WORK}/dec.rtf a)
file(SHA256 ${WORK}/exact.rtf b)
file(SHA256 ${WORK}/dec_Cor.rtf ka)
file(SHA256 ${WORK}/exact_Cor.rtf kb)
if(NOT a STREQUAL b OR ka STREQUAL kb)
  message(FATAL_ERROR "--key exact must change the answer key only")
endif()
run(0 --kind 2d --level 2 --count 25 --seed 42 --output worked.rtf --key detailed)
file(SHA256 ${WORK}/worked.rtf c)
file(SHA256 ${WORK}/worked_Cor.rtf kc)
if(NOT a STREQUAL c OR kc STREQUAL kb OR kc STREQUAL ka)
  message(FATAL_ERROR "--key detailed must change the answer key only")
endif()
run(2 --kind 2d --key worked --output bad.rtf)

# Several sheets into a folder: every base name distinct, nothing overwritten.
run(0 --kind 1d --count 1 --seed 7 --sheets 150 --output lot)
file(GLOB lot ${WORK}/lot/*.rtf)
list(LENGTH lot nlot)
if(NOT nlot EQUAL 300)
  message(FATAL_ERROR "expected 300 files in lot/, found ${nlot}")
endif()

# Bad usage: status 2 and nothing written.
run(2 --kind 1d --level 9 --output bad.rtf)
run(2 --kind 1d --title "√2" --output bad.rtf)
run(2 --wrong)
if(EXISTS ${WORK}/bad.rtf)
  message(FATAL_ERROR "bad usage wrote a file")
endif()

# A folder that does not exist: status 1 and a message.
run(1 --kind 1d --seed 1 --output missing/dir/f.rtf)
if(NOT last_err MATCHES "cannot write")
  message(FATAL_ERROR "no message for an unwritable file: ${last_err}")
endif()
run(0 --help)
run(0 --version)
