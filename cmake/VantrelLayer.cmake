# Code for one system lives in files named for it (AtomicFileWindows.cpp, AtomicFilePosix.cpp);
# this drops the other system's files from a list of sources.
function(vantrel_keep_this_system sources_var)
  if(WIN32)
    list(FILTER ${sources_var} EXCLUDE REGEX "Posix\\.cpp$")
  else()
    list(FILTER ${sources_var} EXCLUDE REGEX "Windows\\.cpp$")
  endif()
  set(${sources_var} ${${sources_var}} PARENT_SCOPE)
endfunction()

# vantrel_core_layer(NAME DEPS ...): a static library made of every .cpp directly in the calling
# folder (ui/ sub-folders are not part of it) that is not another system's. Core layers never
# link Qt.
function(vantrel_core_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  vantrel_keep_this_system(sources)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE vantrel::warnings)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
  add_library(vantrel::${name} ALIAS ${name})
endfunction()

# vantrel_test_suite(NAME DEPS ...): one GoogleTest program made of every .cpp in tests/NAME,
# each test registered with CTest as NAME.Suite.Test.
function(vantrel_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} vantrel_test_support GTest::gtest
                        GTest::gmock vantrel_gtest_main vantrel::warnings)
  # An absolute path the compiler cache leaves alone (it makes __FILE__ relative).
  target_compile_definitions(test_${name} PRIVATE
                             VANTREL_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
  gtest_discover_tests(test_${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST
                       DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "VANTREL_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()
