# SPDX-License-Identifier: GPL-3.0-or-later
# How many decimal-key values the exact rounding changes (not a timing).
add_executable(rounding_count ${CMAKE_CURRENT_LIST_DIR}/rounding_count.cpp)
target_link_libraries(rounding_count PRIVATE equat_core)
equat_warnings(rounding_count)
