# SPDX-License-Identifier: GPL-3.0-or-later
# The exports: a bank of a class set and an OpenDocument pair, made in memory.
add_executable(bench_outputs ${CMAKE_CURRENT_LIST_DIR}/bench_outputs.cpp)
target_link_libraries(bench_outputs PRIVATE equat_outputs benchmark::benchmark_main)
equat_warnings(bench_outputs)
