# SPDX-License-Identifier: GPL-3.0-or-later
equat_add_fuzzer(fuzz_ini SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_ini.cpp LIBS equat_settings)
