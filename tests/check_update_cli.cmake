# quillmere-cli check-update against an FTP server on 127.0.0.1 that the test starts and stops.
add_test(NAME check_update_cli COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/update/check_update_cli_test.sh
  $<TARGET_FILE:quillmere-cli>)
set_tests_properties(check_update_cli PROPERTIES TIMEOUT 120)
# Signatures, planted links and folders, stalling and trickling servers, a file-size limit.
add_test(NAME check_update_safety COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/update/check_update_safety_test.sh
  $<TARGET_FILE:quillmere-cli>)
set_tests_properties(check_update_safety PROPERTIES TIMEOUT 180)
