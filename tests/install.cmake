# The installation into a temporary DESTDIR, run from there, and the Debian package checked by
# lintian.
add_test(NAME install_layout
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(install_layout PROPERTIES TIMEOUT 180)
add_test(NAME package_deb
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package_test.sh ${CMAKE_BINARY_DIR})
# A machine without dpkg-dev cannot build the package: ctest counts that as a skip.
set_tests_properties(package_deb PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
