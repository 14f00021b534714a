# End-to-end checks of quillmere-cli elastic and --quantity, and the independent check of the
# report with pymatgen (skipped where the Debian python has no pymatgen).
add_test(NAME elastic_cli COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/elastic_cli_test.sh
  $<TARGET_FILE:quillmere-cli> ${CMAKE_SOURCE_DIR}/examples)
set_tests_properties(elastic_cli PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
if(EXISTS /usr/bin/python3)
  add_test(NAME elastic_pymatgen COMMAND /usr/bin/python3
    ${CMAKE_CURRENT_SOURCE_DIR}/elastic/pymatgen_oracle.py $<TARGET_FILE:quillmere-cli>
    ${CMAKE_SOURCE_DIR}/examples)
  set_tests_properties(elastic_pymatgen PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
