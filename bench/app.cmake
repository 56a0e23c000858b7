# SPDX-License-Identifier: GPL-3.0-or-later
if(TARGET equat_app)
  add_executable(bench_app ${CMAKE_CURRENT_LIST_DIR}/bench_app.cpp)
  target_link_libraries(bench_app PRIVATE equat_app benchmark::benchmark)
  equat_warnings(bench_app)
endif()
