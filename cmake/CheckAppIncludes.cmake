# cmake -DSOURCE_DIR=<repo> -P CheckAppIncludes.cmake
# The frame in src/app is the top of the desktop program: it includes the panes and the widget
# kit, and nothing includes it back. Only the window tests, which drive the whole frame, may.
file(GLOB_RECURSE candidates
  "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp"
  "${SOURCE_DIR}/bench/*.h" "${SOURCE_DIR}/bench/*.cpp"
  "${SOURCE_DIR}/fuzz/*.h" "${SOURCE_DIR}/fuzz/*.cpp"
  "${SOURCE_DIR}/tests/*.h" "${SOURCE_DIR}/tests/*.cpp")
set(offenders "")
foreach(file ${candidates})
  if(file MATCHES "^${SOURCE_DIR}/src/app/" OR file MATCHES "^${SOURCE_DIR}/tests/gui/")
    continue()
  endif()
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]app/")
  foreach(line ${lines})
    file(RELATIVE_PATH relative "${SOURCE_DIR}" "${file}")
    string(STRIP "${line}" line)
    list(APPEND offenders "${relative}: ${line}")
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " report)
  message(FATAL_ERROR "Only src/app may include src/app headers:\n  ${report}")
endif()
message(STATUS "No file outside src/app includes an src/app header.")
