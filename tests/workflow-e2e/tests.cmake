# The whole job from the command line: a fresh repository, the examples imported, combined,
# decoded and uploaded, to the in-process keyboard and to vantrel-keyboard over JACK.
set(workflow_e2e_dir ${CMAKE_CURRENT_LIST_DIR})

if(TARGET vantrel-make-examples)
  add_test(NAME workflow-e2e.ExamplesAreWhatTheGeneratorWrites
           COMMAND ${workflow_e2e_dir}/examples_reproducible.sh
                   $<TARGET_FILE:vantrel-make-examples> ${PROJECT_SOURCE_DIR}/examples)
endif()

if(TARGET vantrel-cli)
  add_test(NAME workflow-e2e.RepositoryCombineUploadInProcess
           COMMAND ${workflow_e2e_dir}/upload_in_process.sh $<TARGET_FILE:vantrel-cli>
                   ${PROJECT_SOURCE_DIR}/examples)
  set_tests_properties(workflow-e2e.RepositoryCombineUploadInProcess PROPERTIES TIMEOUT 120)
endif()

if(TARGET vantrel-cli AND TARGET vantrel-keyboard)
  add_test(NAME workflow-e2e.UploadOverJack
           COMMAND ${workflow_e2e_dir}/upload_over_jack.sh $<TARGET_FILE:vantrel-cli>
                   $<TARGET_FILE:vantrel-keyboard> ${PROJECT_SOURCE_DIR}/examples
                   ${PROJECT_SOURCE_DIR}/scripts)
  set_tests_properties(workflow-e2e.UploadOverJack PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)
endif()

if(TARGET vantrel-cli)
  add_test(NAME workflow-e2e.RepositoryOnFat
           COMMAND ${workflow_e2e_dir}/repository_on_fat.sh $<TARGET_FILE:vantrel-cli>
                   ${PROJECT_SOURCE_DIR}/examples)
  set_tests_properties(workflow-e2e.RepositoryOnFat PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77)
endif()

if(TARGET vantrel-cli)
  add_test(NAME workflow-e2e.FitImportCombineUploadInProcess
           COMMAND ${workflow_e2e_dir}/fit_upload_in_process.sh $<TARGET_FILE:vantrel-cli>)
  set_tests_properties(workflow-e2e.FitImportCombineUploadInProcess PROPERTIES TIMEOUT 120)
endif()
