# vantrel_install_program(TARGET SUMMARY): installs a program into bin/ with its manual page.
# The page is written at build time from the program's own --help (scripts/make-man-page), with
# a section per subcommand, so it always says what the program says.
function(vantrel_install_program target summary)
  install(TARGETS ${target} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  if(WIN32)
    return()  # no manual pages on Windows; --help and the user guide stand for them
  endif()
  set(page "${CMAKE_CURRENT_BINARY_DIR}/${target}.1.gz")
  add_custom_command(OUTPUT "${page}"
    # Sanitizer builds run the program too; a leak report at exit is no reason to fail the page.
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            "${PROJECT_SOURCE_DIR}/scripts/make-man-page" "$<TARGET_FILE:${target}>"
            "${PROJECT_VERSION}" "${summary}" "${page}"
    DEPENDS ${target} "${PROJECT_SOURCE_DIR}/scripts/make-man-page"
    COMMENT "Writing the manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}-man-page ALL DEPENDS "${page}")
  install(FILES "${page}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endfunction()
