# bench_parse: MIDI reading throughput beside libsmf and libportsmf (run bench/compare_parse.sh).
pkg_check_modules(LIBSMF QUIET IMPORTED_TARGET smf)
pkg_check_modules(PORTSMF QUIET IMPORTED_TARGET portSMF)
add_executable(bench_parse ${CMAKE_CURRENT_LIST_DIR}/parse_bench.cpp
                           ${CMAKE_CURRENT_LIST_DIR}/ParseCorpus.cpp)
target_link_libraries(bench_parse PRIVATE vantrel::vantrel_midi vantrel::warnings)
if(LIBSMF_FOUND)
  target_link_libraries(bench_parse PRIVATE PkgConfig::LIBSMF)
  target_compile_definitions(bench_parse PRIVATE VANTREL_HAVE_LIBSMF)
endif()
if(PORTSMF_FOUND)
  target_link_libraries(bench_parse PRIVATE PkgConfig::PORTSMF)
  target_compile_definitions(bench_parse PRIVATE VANTREL_HAVE_PORTSMF)
endif()
