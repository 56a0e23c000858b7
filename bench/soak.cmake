# SPDX-License-Identifier: GPL-3.0-or-later
# Soak: ten thousand generations in one window, memory at the start and the end.
if(TARGET equat_app)
  add_executable(bench_soak ${CMAKE_CURRENT_LIST_DIR}/bench_soak.cpp)
  target_link_libraries(bench_soak PRIVATE equat_app benchmark::benchmark)
  equat_warnings(bench_soak)
endif()
