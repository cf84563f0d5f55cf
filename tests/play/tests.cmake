# A part played to a MIDI port over JACK: the events and their timing against the performance.
add_executable(play_over_port ${CMAKE_CURRENT_LIST_DIR}/tools/play_over_port.cpp)
target_link_libraries(play_over_port PRIVATE vantrel::vantrel_play vantrel::rtmidi_backend
                      vantrel::warnings)

if(TARGET vantrel-cli)
  # Generous, as the machine running the tests is shared with other work: a wrong tempo, events
  # sent in a burst or a measure lost are off by far more. bench/play_live.sh reports the real
  # timing.
  add_test(NAME e2e.PlayToPortOverJack
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-jack $<TARGET_FILE:play_over_port>
                   $<TARGET_FILE:vantrel-cli> ${PROJECT_SOURCE_DIR}/examples/fill1.mid
                   "C | Am | F | G7" 150)
  set_tests_properties(e2e.PlayToPortOverJack PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
endif()
