# vantrel-cli's device commands against the in-process virtual keyboard.
if(TARGET vantrel-cli)
  add_test(NAME device.CliDeviceCommands
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/cli/device_commands.sh $<TARGET_FILE:vantrel-cli>)
  set_tests_properties(device.CliDeviceCommands PROPERTIES TIMEOUT 120)
endif()
