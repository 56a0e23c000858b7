# SPDX-License-Identifier: GPL-3.0-or-later
equat_add_fuzzer(fuzz_rtf_reader SOURCES ${CMAKE_CURRENT_LIST_DIR}/rtf_reader.cpp LIBS equat_rtf)
equat_add_fuzzer(fuzz_rtf_roundtrip SOURCES ${CMAKE_CURRENT_LIST_DIR}/rtf_roundtrip.cpp LIBS equat_rtf)
