# The symmetry table data/tensor.tab is generated from group theory by generate_tensor_tab.
# Regenerate it after a change to the generator with:
#   cmake --build <build> --target generate_tensor_tab && <build>/bin/generate_tensor_tab data/tensor.tab
add_library(quillmere_group_theory STATIC ${CMAKE_CURRENT_LIST_DIR}/group_theory.cpp)
target_include_directories(quillmere_group_theory PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quillmere_group_theory PUBLIC quillmere_tensor)

add_executable(generate_tensor_tab ${CMAKE_CURRENT_LIST_DIR}/generate_tensor_tab.cpp)
target_link_libraries(generate_tensor_tab PRIVATE quillmere_group_theory quillmere_files)

# The shipped table must be exactly what the generator writes.
add_test(NAME tensor_tab_generate
  COMMAND generate_tensor_tab ${CMAKE_BINARY_DIR}/tensor.tab.generated)
set_tests_properties(tensor_tab_generate PROPERTIES FIXTURES_SETUP tensor_tab_generated)
add_test(NAME tensor_tab_matches_shipped
  COMMAND ${CMAKE_COMMAND} -E compare_files
    ${CMAKE_BINARY_DIR}/tensor.tab.generated ${CMAKE_SOURCE_DIR}/data/tensor.tab)
set_tests_properties(tensor_tab_matches_shipped PROPERTIES FIXTURES_REQUIRED tensor_tab_generated)
