# Qt Test programs of the desktop program: tests/app/gui/*_test.cpp, one program each, run on
# the offscreen platform with the user's folders pointed into the build tree (each test also
# points them at temporary folders of its own before it creates a window).
if(TARGET quillmere_gui)
  file(GLOB gui_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/app/gui/*_test.cpp)
  set(gui_test_home ${CMAKE_BINARY_DIR}/gui-test-home)
  file(MAKE_DIRECTORY ${gui_test_home})
  foreach(source ${gui_tests})
    get_filename_component(name ${source} NAME_WE)
    add_executable(gui_${name} ${source} ${CMAKE_CURRENT_LIST_DIR}/app/gui/gui_test_support.cpp)
    set_target_properties(gui_${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(gui_${name} PRIVATE quillmere_gui Qt6::Test)
    target_include_directories(gui_${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
    target_compile_definitions(gui_${name} PRIVATE
      QUILLMERE_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QUILLMERE_BIN_DIR="${QUILLMERE_BIN_DIR}")
    add_test(NAME gui_${name} COMMAND gui_${name})
    set_tests_properties(gui_${name} PROPERTIES TIMEOUT 300 ENVIRONMENT
      "QT_QPA_PLATFORM=offscreen;HOME=${gui_test_home};XDG_CONFIG_HOME=${gui_test_home}/config;XDG_DATA_HOME=${gui_test_home}/data")
  endforeach()
endif()
