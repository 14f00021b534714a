# The example tensor files in examples/ are written by write_examples with the program's own
# writer. Regenerate them after a change to the writer or to data/tensor.tab with:
#   cmake --build <build> --target write_examples && <build>/bin/write_examples data examples
add_executable(write_examples ${CMAKE_CURRENT_LIST_DIR}/write_examples.cpp)
target_link_libraries(write_examples PRIVATE quillmere_files)

add_test(NAME examples_generate
  COMMAND write_examples ${CMAKE_SOURCE_DIR}/data ${CMAKE_BINARY_DIR}/examples.generated)
set_tests_properties(examples_generate PROPERTIES FIXTURES_SETUP examples_generated)
file(GLOB shipped_examples CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/*.ten)
foreach(example ${shipped_examples})
  get_filename_component(name ${example} NAME)
  add_test(NAME examples_match_${name}
    COMMAND ${CMAKE_COMMAND} -E compare_files ${CMAKE_BINARY_DIR}/examples.generated/${name}
      ${example})
  set_tests_properties(examples_match_${name} PROPERTIES FIXTURES_REQUIRED examples_generated)
endforeach()
