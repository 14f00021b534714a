# write_desktop_files: the installed desktop entry and file type, from the code of Tools > Register
# (used by the install rules in cmake/install.cmake).
add_executable(write_desktop_files ${CMAKE_CURRENT_LIST_DIR}/write_desktop_files.cpp)
target_link_libraries(write_desktop_files PRIVATE quillmere_files)
