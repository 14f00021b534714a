# quillmere-cli fit, end to end on measurement files.
add_test(NAME fit_cli COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fit_cli_test.sh
  $<TARGET_FILE:quillmere-cli>)
set_tests_properties(fit_cli PROPERTIES TIMEOUT 60)
