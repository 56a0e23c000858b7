# SPDX-License-Identifier: GPL-3.0-or-later
# Second-degree and systems sheets.
add_executable(bench_gen ${CMAKE_CURRENT_LIST_DIR}/bench_gen.cpp)
target_link_libraries(bench_gen PRIVATE equat_core benchmark::benchmark_main)
equat_warnings(bench_gen)
