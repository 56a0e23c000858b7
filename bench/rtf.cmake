# SPDX-License-Identifier: GPL-3.0-or-later
add_executable(bench_rtf ${CMAKE_CURRENT_LIST_DIR}/rtf_bench.cpp)
target_link_libraries(bench_rtf PRIVATE equat_rtf benchmark::benchmark_main)
equat_warnings(bench_rtf)

if(EQUAT_GUI)
  add_executable(bench_richedit ${CMAKE_CURRENT_LIST_DIR}/richedit_bench.cpp)
  target_link_libraries(bench_richedit PRIVATE equat_platform equat_core benchmark::benchmark_main)
  equat_warnings(bench_richedit)
endif()
