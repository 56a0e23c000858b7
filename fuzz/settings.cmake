equat_add_fuzzer(fuzz_ini SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_ini.cpp LIBS equat_settings)
# Coverage feedback needs the library instrumented too, not only the fuzzer's own file.
target_compile_options(equat_settings PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
