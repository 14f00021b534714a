# End-to-end checks of quillmere-cli export and transform on files.
add_test(NAME export_cli COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/export_cli_test.sh
  $<TARGET_FILE:quillmere-cli> ${CMAKE_SOURCE_DIR}/examples)
set_tests_properties(export_cli PROPERTIES TIMEOUT 120)
