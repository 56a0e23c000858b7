# SPDX-License-Identifier: GPL-3.0-or-later
equat_add_fuzzer(fuzz_markup SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_markup.cpp LIBS equat_core)
