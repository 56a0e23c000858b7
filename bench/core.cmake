# SPDX-License-Identifier: GPL-3.0-or-later
add_executable(bench_core ${CMAKE_CURRENT_LIST_DIR}/bench_core.cpp)
target_link_libraries(bench_core PRIVATE equat_core benchmark::benchmark_main)
