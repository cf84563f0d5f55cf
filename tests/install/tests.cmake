# The install rules: what a packager or `cmake --install` puts where, and whether the desktop
# files pass the desktop's own validators. Sanitizer builds are not for installing.
if(TARGET vantrel AND NOT VANTREL_SANITIZE)
  add_test(NAME install.StagedLayout
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/staged_layout.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR})
  set_tests_properties(install.StagedLayout PROPERTIES TIMEOUT 120)
endif()

# Packaging takes half a minute (strip, dpkg-shlibdeps, lintian), so only the plain builds make
# the package: CI runs it once, in its warnings-as-errors build.
if(TARGET vantrel AND NOT VANTREL_SANITIZE)
  add_test(NAME install.DebianPackageIsLintianClean
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/deb_lintian.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
  set_tests_properties(install.DebianPackageIsLintianClean PROPERTIES TIMEOUT 240)
endif()
