# bench_convert: time and peak heap of converting one realistic pattern file.
add_executable(bench_convert ${CMAKE_CURRENT_LIST_DIR}/convert_bench.cpp)
target_link_libraries(bench_convert PRIVATE vantrel::vantrel_pattern vantrel::warnings)
