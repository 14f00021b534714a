# The desktop program's pictures: the program icon shipped in data/quillmere.png (copied beside
# the program, where file registration finds it) and the README's screenshot, both drawn by the
# program itself. Regenerate them with:
#   cmake --build <build> --target quillmere-pictures
#   <build>/bin/quillmere-pictures --icon data/quillmere.png
#   xvfb-run -a <build>/bin/quillmere-pictures --screenshot docs/screenshot.png examples/<file>.ten
if(EXISTS ${CMAKE_SOURCE_DIR}/data/quillmere.png)
  configure_file(${CMAKE_SOURCE_DIR}/data/quillmere.png ${QUILLMERE_BIN_DIR}/quillmere.png COPYONLY)
endif()
if(TARGET quillmere_gui)
  add_executable(quillmere-pictures ${CMAKE_CURRENT_LIST_DIR}/gui_pictures.cpp)
  target_link_libraries(quillmere-pictures PRIVATE quillmere_gui)
endif()
