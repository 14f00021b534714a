# The Debian package: cpack -G DEB in a build configured with CMAKE_INSTALL_PREFIX=/usr (see
# scripts/package), giving quillmere_<version>_amd64.deb. Dependencies come from dpkg-shlibdeps;
# the desktop's caches (file types, icons, menu) are refreshed by the dpkg triggers of the
# packages that own them, so no maintainer scripts are needed.
set(QUILLMERE_MAINTAINER "Quillmere maintainers <maintainers@quillmere.invalid>" CACHE STRING
  "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmere)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quillmere")
set(CPACK_PACKAGE_CONTACT ${QUILLMERE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "representation surfaces of crystal property tensors")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillmere holds one physical-property tensor of a crystal (rank 1 to 5,
polar or axial), restricts it by one of the 32 crystallographic point groups
and draws its representation surface in 3-D. It enters components, fits ten
properties to measurements by least squares, transforms tensors, exports VRML
and STL, saves and prints pictures, and has a command-line tool for batch
work.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME "quillmere_${PROJECT_VERSION}_amd64.deb")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
# Qt loads its platform plugin at run time, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_THREADS 2)
include(CPack)
