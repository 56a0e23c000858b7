# SPDX-License-Identifier: GPL-3.0-or-later
# Output: the preview's two pages, and a 40-question pair to PDF beside LibreOffice.
if(TARGET equat_app)
  add_executable(bench_output ${CMAKE_CURRENT_LIST_DIR}/bench_output.cpp)
  target_link_libraries(bench_output PRIVATE equat_app benchmark::benchmark)
  target_compile_definitions(bench_output PRIVATE EQUAT_SHEET_TOOL="$<TARGET_FILE:equat-sheet>")
  add_dependencies(bench_output equat-sheet)
  equat_warnings(bench_output)
endif()
