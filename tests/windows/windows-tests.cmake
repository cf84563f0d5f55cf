# Tests of the Windows build, run under Wine (CMAKE_CROSSCOMPILING_EMULATOR).

# The port layer on WinMM, through the real calls: a test-only winmm.dll beside the test
# program stands for a cable to the in-process virtual keyboard, loaded in place of the
# system's with WINEDLLOVERRIDES=winmm=n,b.
set(winmm_test_dir "${CMAKE_BINARY_DIR}/tests/winmm")
add_library(vantrel_test_cable SHARED ${CMAKE_CURRENT_LIST_DIR}/cable/WinMmCable.cpp
            ${CMAKE_CURRENT_LIST_DIR}/cable/winmm.def)
set_target_properties(vantrel_test_cable PROPERTIES OUTPUT_NAME winmm PREFIX ""
                      RUNTIME_OUTPUT_DIRECTORY "${winmm_test_dir}")
target_link_libraries(vantrel_test_cable PRIVATE vantrel::warnings)

add_executable(test_winmm ${CMAKE_CURRENT_LIST_DIR}/WinMmPortLayerTest.cpp
               ${CMAKE_CURRENT_LIST_DIR}/WinMmLinkTest.cpp ${CMAKE_CURRENT_LIST_DIR}/CableFarEnd.cpp
               ${CMAKE_CURRENT_SOURCE_DIR}/keyboard/KeyboardTestSupport.cpp)
set_target_properties(test_winmm PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${winmm_test_dir}")
target_include_directories(test_winmm PRIVATE ${CMAKE_CURRENT_LIST_DIR}
                           ${CMAKE_CURRENT_SOURCE_DIR}/keyboard)
target_link_libraries(test_winmm PRIVATE vantrel::system_ports vantrel::vantrel_keyboard
                      vantrel_test_support GTest::gtest vantrel_gtest_main vantrel::warnings)
add_dependencies(test_winmm vantrel_test_cable)
gtest_discover_tests(test_winmm TEST_PREFIX "winmm." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                     PROPERTIES ENVIRONMENT "WINEDLLOVERRIDES=winmm=n,b;WINEDEBUG=-all")

# vantrel-cli.exe under Wine makes the same bytes as the Linux build (run-tests windows builds
# that one in build/programs first).
set(VANTREL_LINUX_CLI "${PROJECT_SOURCE_DIR}/build/programs/src/cli/vantrel-cli" CACHE FILEPATH
    "The Linux build's vantrel-cli, whose outputs the Windows one must match")
if(TARGET vantrel-cli AND CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME windows.SameOutputsAsTheLinuxBuild
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/same_outputs.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                   $<TARGET_FILE:vantrel-cli> ${VANTREL_LINUX_CLI} ${PROJECT_SOURCE_DIR}/examples)
  set_tests_properties(windows.SameOutputsAsTheLinuxBuild PROPERTIES TIMEOUT 300
                       SKIP_RETURN_CODE 77)
endif()

# vantrel-cli as a user runs it, through cmd.
include(${CMAKE_CURRENT_SOURCE_DIR}/cli/tests.cmake)
