# Tests that run vantrel-cli as a user would, on files the tests write.
if(TARGET vantrel-cli)
  file(GLOB cli_test_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/*.cpp")
  add_executable(test_cli ${cli_test_sources})
  target_link_libraries(test_cli PRIVATE vantrel_test_support vantrel::vantrel_pattern
                        GTest::gtest GTest::gmock vantrel_gtest_main vantrel::warnings)
  target_compile_definitions(test_cli PRIVATE VANTREL_CLI="$<TARGET_FILE:vantrel-cli>")
  add_dependencies(test_cli vantrel-cli)
  gtest_discover_tests(test_cli TEST_PREFIX "cli." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/progress/progress.cmake)
