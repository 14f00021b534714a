# The layering check: it passes on the tree and fails on an include put in upward on purpose.
add_test(NAME check_layers
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check_layers_test.sh ${CMAKE_SOURCE_DIR})
set_tests_properties(check_layers PROPERTIES TIMEOUT 60)
