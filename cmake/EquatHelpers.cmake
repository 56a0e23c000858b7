# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings are set per target so that third-party code is never built with -Werror.
function(equat_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(EQUAT_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# equat_add_test(name SOURCES a.cpp b.cpp LIBS lib1 lib2 [ENV VAR=VALUE ...])
function(equat_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  # Shared test helpers are included by their folder: "app/qt_environment.h".
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE EQUAT_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  equat_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  if(T_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
endfunction()

# equat_add_fuzzer(name SOURCES f.cpp LIBS lib)
# With EQUAT_FUZZ, a libFuzzer target. With EQUAT_TESTS, also a plain test that replays the
# target's seed corpus (fuzz/corpus/<name>), every crash input kept (fuzz/crashes/<name>)
# and tests/data through it, so that a regression shows in every build.
function(equat_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(EQUAT_FUZZ)
    add_executable(${name} ${F_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
  endif()
  if(EQUAT_TESTS)
    add_executable(replay_${name} ${F_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(replay_${name} PRIVATE ${F_LIBS})
    equat_warnings(replay_${name})
    add_test(NAME replay_${name}
             COMMAND replay_${name} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name}
                     ${PROJECT_SOURCE_DIR}/fuzz/crashes/${name} ${PROJECT_SOURCE_DIR}/tests/data)
  endif()
endfunction()
