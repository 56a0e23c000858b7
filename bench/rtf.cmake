add_executable(bench_rtf ${CMAKE_CURRENT_LIST_DIR}/rtf_bench.cpp)
target_link_libraries(bench_rtf PRIVATE equat_rtf benchmark::benchmark_main)
equat_warnings(bench_rtf)
