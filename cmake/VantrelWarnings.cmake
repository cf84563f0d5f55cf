# One INTERFACE target carries the project's warning flags; every target links it.
add_library(vantrel_warnings INTERFACE)
add_library(vantrel::warnings ALIAS vantrel_warnings)
target_compile_options(vantrel_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
  -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
  -Wimplicit-fallthrough)
if(VANTREL_WERROR)
  target_compile_options(vantrel_warnings INTERFACE -Werror)
endif()
