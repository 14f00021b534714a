# Every export says what it shows, and the readers of each format still take the file.
add_test(NAME stamps_cli COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/stamps_cli_test.sh
  $<TARGET_FILE:quillmere-cli> ${CMAKE_SOURCE_DIR}/examples)
set_tests_properties(stamps_cli PROPERTIES TIMEOUT 180 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
