# bench_gui_listing: the file browser listing a generated folder of MIDI files; reports the
# longest stall of the window's thread and when the last song name arrived.
if(VANTREL_BUILD_GUI AND TARGET vantrel_ui)
  add_executable(bench_gui_listing ${CMAKE_CURRENT_LIST_DIR}/gui_listing_bench.cpp)
  target_include_directories(bench_gui_listing PRIVATE "${PROJECT_SOURCE_DIR}/tests/support")
  target_link_libraries(bench_gui_listing PRIVATE vantrel_ui vantrel::warnings)
endif()
