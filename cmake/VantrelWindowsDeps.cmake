# What the Windows build takes from Debian's packages for Linux: CLI11 is headers only, and
# GoogleTest comes as source (/usr/src/googletest) that the cross compiler builds here. The
# headers are copied into the build folder, so that /usr/include (glibc's) never reaches the
# cross compiler's include path.
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

# Called by tests/: the test framework built by the cross compiler, under the names that
# find_package(GTest) gives on Linux.
macro(vantrel_cross_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory("${VANTREL_GOOGLETEST_SOURCE}" "${PROJECT_BINARY_DIR}/googletest"
                   EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
endmacro()
