# SPDX-License-Identifier: GPL-3.0-or-later
# The laid-out outputs of the tools: equat-sheet --pdf and equat-rtf --to pdf / png.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

include(${CMAKE_CURRENT_LIST_DIR}/cli_common.cmake)

# Here the command names its tool.
function(run expected)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected)
    message(FATAL_ERROR "${ARGN}: exit ${rc}, expected ${expected}\n${out}${err}")
  endif()
endfunction()

# The pair as RTF and as PDF, the PDFs holding the documents' text.
run(0 ${SHEET} --kind 2d --count 40 --seed 11 --pdf --output fiche.txt)
foreach(f fiche.txt fiche_Cor.rtf fiche.pdf fiche_Cor.pdf)
  if(NOT EXISTS ${WORK}/${f})
    message(FATAL_ERROR "missing ${f}")
  endif()
endforeach()
pdf_text(fiche.pdf subject)
pdf_text(fiche_Cor.pdf key)
if(NOT subject MATCHES "Equat2d_N1_" OR NOT subject MATCHES "40°/")
  message(FATAL_ERROR "the subject PDF lacks the sheet's text:\n${subject}")
endif()
if(NOT key MATCHES "Corrigé" OR NOT key MATCHES "40°/")
  message(FATAL_ERROR "the answer key PDF lacks the sheet's text")
endif()

# A sheet asked on cream pages is on cream pages, its key too when it is adapted; else white.
run(0 ${SHEET} --kind 1d --count 3 --seed 4 --adapted --cream --adapted-key --pdf --output creme)
run(0 ${SHEET} --kind 1d --count 3 --seed 4 --adapted --cream --pdf --output blanc)
foreach(case "creme.pdf#fff8e7" "creme_Cor.pdf#fff8e7" "fiche.pdf#ffffff" "blanc_Cor.pdf#ffffff")
  string(REPLACE "#" ";" case "${case}")
  list(GET case 0 pdf)
  list(GET case 1 paper)
  execute_process(COMMAND pdftoppm -r 10 -f 1 -l 1 -singlefile ${WORK}/${pdf} ${WORK}/page)
  file(READ ${WORK}/page.ppm hex LIMIT 64 HEX)
  string(FIND "${hex}" "0a3235350a" header)  # the pixels follow "255\n"
  math(EXPR header "${header} + 10")
  string(SUBSTRING "${hex}" ${header} 6 corner)
  if(NOT corner STREQUAL paper)
    message(FATAL_ERROR "${pdf}: a page of ${corner}, not ${paper}")
  endif()
endforeach()

# The converter cuts the same pages in PDF and in images.
run(0 ${RTF} fiche_Cor.rtf --to pdf)
run(0 ${RTF} fiche_Cor.rtf --to png --output pages.png)
pdf_pages(fiche_Cor.pdf npdf)
file(GLOB pngs ${WORK}/pages-*.png)
list(LENGTH pngs npng)
if(npdf LESS 2 OR NOT npng EQUAL npdf)
  message(FATAL_ERROR "${npdf} PDF pages but ${npng} images")
endif()

# Refusals: a printer that does not exist, a folder that cannot be written (a path through a
# regular file, which fails for root too); nothing is left behind.
run(2 ${RTF} fiche_Cor.rtf --to pdf --printer equat-no-such-printer --output none.pdf)
file(WRITE ${WORK}/plain "x")
run(1 ${RTF} fiche_Cor.rtf --to pdf --output plain/x.pdf)
run(1 ${SHEET} --kind 1d --count 2 --pdf --output plain/x)
run(2 ${SHEET} --kind 1d --count 2 --pdf --output x.PDF)
file(GLOB left ${WORK}/none* ${WORK}/x.*)
if(left)
  message(FATAL_ERROR "left behind: ${left}")
endif()
