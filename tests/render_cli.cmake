# End-to-end checks of quillmere-cli render on files.
if(TARGET quillmere_canvas)
  add_test(NAME render_cli COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/render_cli_test.sh
    $<TARGET_FILE:quillmere-cli> ${CMAKE_SOURCE_DIR}/examples)
  set_tests_properties(render_cli PROPERTIES TIMEOUT 120
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
