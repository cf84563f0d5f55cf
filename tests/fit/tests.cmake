# Grooves written by Debian's mma over known chord progressions, fitted onto the source chord.
find_program(MMA_PROGRAM mma)
if(TARGET vantrel-cli AND MMA_PROGRAM)
  add_test(NAME fit.MmaCorpus
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/mma_corpus.py
                   $<TARGET_FILE:vantrel-cli> ${CMAKE_CURRENT_BINARY_DIR}/mma_corpus)
  set_tests_properties(fit.MmaCorpus PROPERTIES TIMEOUT 300)
endif()
