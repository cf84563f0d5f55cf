# Programs talking over real MIDI ports (a JACK server with the dummy driver).
add_executable(make_style_image ${CMAKE_CURRENT_LIST_DIR}/tools/make_style_image.cpp)
target_link_libraries(make_style_image PRIVATE vantrel::vantrel_combine vantrel::warnings)

if(TARGET vantrel-keyboard AND TARGET vantrel-cli)
  add_test(NAME e2e.KeyboardOverJack
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/keyboard_over_jack.sh $<TARGET_FILE:vantrel-keyboard>
                   $<TARGET_FILE:vantrel-cli> $<TARGET_FILE:make_style_image>
                   ${PROJECT_SOURCE_DIR}/examples ${PROJECT_SOURCE_DIR}/scripts)
  set_tests_properties(e2e.KeyboardOverJack PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
endif()
