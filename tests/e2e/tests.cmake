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

# A keyboard that behaves like hardware on a slow cable, the cases in sequence on one server.
# The late and jittered acknowledges wait out 892 acknowledges of 150 and of 40 +- 30 ms; they
# run code the other cases run too, so the sanitizer runs leave them out (SlowOverJack). The
# jittered ones come within 30 ms of the 100 ms wait, which JACK's own delay on a machine
# loaded far beyond its cores can exceed.
if(TARGET vantrel-keyboard AND TARGET vantrel-cli)
  set(link_faults_args $<TARGET_FILE:vantrel-keyboard> $<TARGET_FILE:vantrel-cli>
                       $<TARGET_FILE:make_style_image> ${PROJECT_SOURCE_DIR}/examples
                       ${PROJECT_SOURCE_DIR}/scripts)
  add_test(NAME e2e.LinkFaultsOverJack
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/link_faults_over_jack.sh ${link_faults_args}
                   din stall unplug list)
  # Each slow case on its own, so one of them waiting on a loaded machine does not take the
  # other's time.
  add_test(NAME e2e.LateAcknowledgesSlowOverJack
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/link_faults_over_jack.sh ${link_faults_args} late)
  add_test(NAME e2e.JitteredAcknowledgesSlowOverJack
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/link_faults_over_jack.sh ${link_faults_args} jitter)
  set_tests_properties(e2e.LinkFaultsOverJack e2e.LateAcknowledgesSlowOverJack
                       e2e.JitteredAcknowledgesSlowOverJack PROPERTIES TIMEOUT 280 RUN_SERIAL TRUE)
endif()

# Ctrl-C during `device send` and `upload`: status 130, the slot untouched.
if(TARGET vantrel-keyboard AND TARGET vantrel-cli)
  add_test(NAME e2e.InterruptOverJack
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/interrupt_over_jack.sh $<TARGET_FILE:vantrel-keyboard>
                   $<TARGET_FILE:vantrel-cli> $<TARGET_FILE:make_style_image>
                   ${PROJECT_SOURCE_DIR}/examples ${PROJECT_SOURCE_DIR}/scripts)
  set_tests_properties(e2e.InterruptOverJack PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
endif()

# Recovery from a cut transfer against both ways of joining packets, a lost and a late
# acknowledge, a port wired back to Vantrel, and the suggested port pair.
if(TARGET vantrel-keyboard AND TARGET vantrel-cli)
  add_test(NAME e2e.RecoveryOverJack
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/recovery_over_jack.sh $<TARGET_FILE:vantrel-keyboard>
                   $<TARGET_FILE:vantrel-cli> $<TARGET_FILE:make_style_image>
                   ${PROJECT_SOURCE_DIR}/examples ${PROJECT_SOURCE_DIR}/scripts
                   cut dropack late loop choose)
  set_tests_properties(e2e.RecoveryOverJack PROPERTIES TIMEOUT 240 RUN_SERIAL TRUE)
endif()
