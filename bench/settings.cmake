# SPDX-License-Identifier: GPL-3.0-or-later
add_executable(bench_ini ${CMAKE_CURRENT_LIST_DIR}/bench_ini.cpp)
target_link_libraries(bench_ini PRIVATE equat_settings benchmark::benchmark_main)
equat_warnings(bench_ini)
