# vantrel-cli's device commands against the in-process virtual keyboard.
if(TARGET vantrel-cli)
  add_test(NAME device.CliDeviceCommands
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/cli/device_commands.sh $<TARGET_FILE:vantrel-cli>)
  set_tests_properties(device.CliDeviceCommands PROPERTIES TIMEOUT 120)
endif()

# The input callback's path without locks and allocations: this program counts both by
# replacing the allocator and pthread_mutex_lock, which the sanitizers replace themselves.
if(VANTREL_SANITIZE STREQUAL "")
  add_executable(test_device_input_path ${CMAKE_CURRENT_LIST_DIR}/input_path/InputPathTest.cpp)
  target_link_libraries(test_device_input_path PRIVATE vantrel::vantrel_device GTest::gtest
                        GTest::gtest_main vantrel::warnings ${CMAKE_DL_LIBS})
  gtest_discover_tests(test_device_input_path TEST_PREFIX "device." DISCOVERY_MODE PRE_TEST
                       DISCOVERY_TIMEOUT 60)
endif()
