# The command line's upload progress, written to a file as when standard error is a log.
if(TARGET vantrel-cli)
  add_executable(test_cli_progress ${CMAKE_CURRENT_LIST_DIR}/CliUploadProgressTest.cpp
                 ${PROJECT_SOURCE_DIR}/src/cli/CliUploadProgress.cpp
                 ${PROJECT_SOURCE_DIR}/src/cli/CliProgressBar.cpp)
  target_link_libraries(test_cli_progress PRIVATE vantrel::vantrel_combine vantrel_test_support
                        GTest::gtest vantrel_gtest_main vantrel::warnings)
  gtest_discover_tests(test_cli_progress TEST_PREFIX "cli." DISCOVERY_MODE PRE_TEST
                       DISCOVERY_TIMEOUT 60)
endif()
