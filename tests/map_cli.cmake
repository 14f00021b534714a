# End-to-end checks of quillmere-cli map on files.
if(TARGET quillmere_canvas)
  add_test(NAME map_cli COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/map_cli_test.sh
    $<TARGET_FILE:quillmere-cli> ${CMAKE_SOURCE_DIR}/examples)
  set_tests_properties(map_cli PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
