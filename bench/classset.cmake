# SPDX-License-Identifier: GPL-3.0-or-later
# Class sets: 35 collated copies and keys against LibreOffice's one pair.
if(TARGET equat_cli_qt)
  add_executable(bench_classset ${CMAKE_CURRENT_LIST_DIR}/bench_classset.cpp)
  target_link_libraries(bench_classset PRIVATE Qt6::Core benchmark::benchmark)
  target_compile_definitions(bench_classset PRIVATE EQUAT_SHEET_TOOL="$<TARGET_FILE:equat-sheet>")
  add_dependencies(bench_classset equat-sheet)
  equat_warnings(bench_classset)
endif()

# The floor of a tool run that lays text out: Qt started and the documents' fonts loaded.
if(TARGET equat_cli_qt)
  add_executable(bench_fontfloor ${CMAKE_CURRENT_LIST_DIR}/bench_fontfloor.cpp)
  target_link_libraries(bench_fontfloor PRIVATE equat_cli_qt)
  equat_warnings(bench_fontfloor)
endif()
