# Qt Test programs of the view controls: tests/surface/gui/*_test.cpp, one program each, on the
# offscreen platform. The window tests start the whole program through the desktop program's
# test support, with the user's folders pointed into the build tree.
if(TARGET quillmere_gui)
  file(GLOB view_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/surface/gui/*_test.cpp)
  set(view_test_home ${CMAKE_BINARY_DIR}/view-test-home)
  file(MAKE_DIRECTORY ${view_test_home})
  foreach(source ${view_tests})
    get_filename_component(name ${source} NAME_WE)
    add_executable(view_${name} ${source} ${CMAKE_CURRENT_LIST_DIR}/app/gui/gui_test_support.cpp)
    set_target_properties(view_${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(view_${name} PRIVATE quillmere_gui Qt6::Test)
    target_include_directories(view_${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
    target_compile_definitions(view_${name} PRIVATE
      QUILLMERE_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QUILLMERE_BIN_DIR="${QUILLMERE_BIN_DIR}")
    add_test(NAME view_${name} COMMAND view_${name})
    set_tests_properties(view_${name} PROPERTIES TIMEOUT 300 ENVIRONMENT
      "QT_QPA_PLATFORM=offscreen;HOME=${view_test_home};XDG_CONFIG_HOME=${view_test_home}/config;XDG_DATA_HOME=${view_test_home}/data")
  endforeach()
endif()
