# quillmere-cli render writing the Windows metafiles and PDF, read back by third-party readers
# (emf2svg-conv, wmf2svg, pdftoppm).
if(TARGET quillmere_canvas)
  add_test(NAME metafile_cli COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/metafile_cli_test.sh
    $<TARGET_FILE:quillmere-cli> ${CMAKE_SOURCE_DIR}/examples)
  set_tests_properties(metafile_cli PROPERTIES TIMEOUT 180
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
