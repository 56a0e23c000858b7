# SPDX-License-Identifier: GPL-3.0-or-later
# Our PDF device against QPdfWriter: 175 pages of 40 lines, timed from outside (farm-bench).
if(TARGET equat_platform)
  add_executable(bench_pdfdevice ${CMAKE_CURRENT_LIST_DIR}/bench_pdfdevice.cpp)
  target_link_libraries(bench_pdfdevice PRIVATE equat_platform equat_core)
  equat_warnings(bench_pdfdevice)
endif()
