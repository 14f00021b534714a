# The symmetry, import and matrix commands of quillmere-cli, end to end on files.
add_test(NAME constants_cli COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/constants_cli_test.sh
  $<TARGET_FILE:quillmere-cli> ${CMAKE_SOURCE_DIR}/examples)
set_tests_properties(constants_cli PROPERTIES TIMEOUT 120)
