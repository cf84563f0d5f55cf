# The reader against an independent parser (Debian's python3-mido) on generated and real files.
add_executable(midi_dump ${CMAKE_CURRENT_LIST_DIR}/tools/midi_dump.cpp)
target_link_libraries(midi_dump PRIVATE vantrel::vantrel_midi vantrel::warnings)
add_test(NAME midi.CrossCheckWithMido
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/tools/crosscheck.py
                 $<TARGET_FILE:midi_dump> ${CMAKE_CURRENT_BINARY_DIR}/midi_crosscheck)
set_tests_properties(midi.CrossCheckWithMido PROPERTIES TIMEOUT 120)
