# bench_download: a 20474-byte style image stored in a slot of the in-process virtual keyboard,
# time per acknowledged packet. bench/download_jack_cpu.sh: the sending vantrel-cli's CPU time
# over its wall time during the same download to vantrel-keyboard over JACK.
# bench/download_din_wire.sh: the upload's wall time at DIN speed over the limit of the cable.
add_executable(bench_download ${CMAKE_CURRENT_LIST_DIR}/download_bench.cpp)
target_link_libraries(bench_download PRIVATE vantrel::vantrel_combine vantrel::warnings)
target_compile_definitions(bench_download
                           PRIVATE VANTREL_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
