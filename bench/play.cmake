# bench_play_live: from Play to the first note reaching FluidSynth (bench/play_live.sh).
add_executable(bench_play_live ${CMAKE_CURRENT_LIST_DIR}/play_live_bench.cpp)
target_link_libraries(bench_play_live PRIVATE vantrel::vantrel_play vantrel::warnings)
