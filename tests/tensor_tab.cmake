# The shipped symmetry table checked against group theory, entry by entry. It uses the exact
# point-group operations of tools/group_theory, so it is a program of its own.
add_executable(test_tensor_tab ${CMAKE_CURRENT_LIST_DIR}/tensor_tab/tensor_tab_test.cpp)
target_link_libraries(test_tensor_tab PRIVATE quillmere_group_theory quillmere_test_support
  GTest::gtest GTest::gtest_main)
target_include_directories(test_tensor_tab PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(test_tensor_tab PRIVATE
  QUILLMERE_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QUILLMERE_BIN_DIR="${QUILLMERE_BIN_DIR}")
gtest_discover_tests(test_tensor_tab DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)
