# Qt Test programs of the component grids, choosers and New Tensor dialog (tests/tensor/gui/),
# one program each. They drive the real widgets on the offscreen platform; the programs that
# start the whole main window share the desktop program's test support and get the user's
# folders pointed into the build tree, as the window's own tests do.
if(TARGET quillmere_gui)
  file(GLOB component_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/tensor/gui/*_test.cpp)
  set(component_test_home ${CMAKE_BINARY_DIR}/component-test-home)
  file(MAKE_DIRECTORY ${component_test_home})
  foreach(source ${component_tests})
    get_filename_component(name ${source} NAME_WE)
    add_executable(gui_${name} ${source} ${CMAKE_CURRENT_LIST_DIR}/app/gui/gui_test_support.cpp)
    set_target_properties(gui_${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(gui_${name} PRIVATE quillmere_gui Qt6::Test)
    target_include_directories(gui_${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
    target_compile_definitions(gui_${name} PRIVATE
      QUILLMERE_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QUILLMERE_BIN_DIR="${QUILLMERE_BIN_DIR}")
    add_test(NAME gui_${name} COMMAND gui_${name})
    set_tests_properties(gui_${name} PROPERTIES TIMEOUT 300 ENVIRONMENT
      "QT_QPA_PLATFORM=offscreen;HOME=${component_test_home};XDG_CONFIG_HOME=${component_test_home}/config;XDG_DATA_HOME=${component_test_home}/data")
  endforeach()
endif()
