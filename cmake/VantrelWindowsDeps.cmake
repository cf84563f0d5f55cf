# What the Windows build takes from Debian's packages for Linux: CLI11 is headers only, and
# GoogleTest comes as source (/usr/src/googletest) that the cross compiler builds here. The
# headers are copied into the build folder, so that /usr/include (glibc's) never reaches the
# cross compiler's include path.
# windows.h without its min and max macros (they break std::min) and without the parts that
# nothing here uses; the MIDI functions come from mmsystem.h, included where they are used.
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN)

set(VANTREL_CLI11_HEADERS "/usr/include/CLI" CACHE PATH "CLI11's header folder (Debian: libcli11-dev)")
if(NOT EXISTS "${VANTREL_CLI11_HEADERS}/CLI.hpp")
  message(FATAL_ERROR "CLI11 headers not found in ${VANTREL_CLI11_HEADERS} (apt-get install libcli11-dev)")
endif()
file(COPY "${VANTREL_CLI11_HEADERS}" DESTINATION "${PROJECT_BINARY_DIR}/cross-include")
add_library(vantrel_cli11 INTERFACE)
target_include_directories(vantrel_cli11 SYSTEM INTERFACE "${PROJECT_BINARY_DIR}/cross-include")
add_library(CLI11::CLI11 ALIAS vantrel_cli11)

set(VANTREL_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH
    "GoogleTest's source folder (Debian: googletest)")

# Called by tests/: the test framework built by the cross compiler (it names its targets
# GTest::gtest, GTest::gmock as find_package does on Linux). The test programs' main is our own
# (tests/support/WindowsTestMain.cpp), which vantrel_test_suite links in place of gtest_main.
macro(vantrel_cross_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory("${VANTREL_GOOGLETEST_SOURCE}" "${PROJECT_BINARY_DIR}/googletest"
                   EXCLUDE_FROM_ALL SYSTEM)
  add_library(vantrel_gtest_main STATIC "${PROJECT_SOURCE_DIR}/tests/support/WindowsTestMain.cpp")
  target_link_libraries(vantrel_gtest_main PUBLIC GTest::gtest)
endmacro()
