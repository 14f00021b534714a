# Installation: `cmake --install <build> [--prefix P]`, DESTDIR honoured.
#
#   P/lib/quillmere/   the program folder: quillmere, quillmere-cli, quillmere-cli-full (the tool
#                      quillmere-cli hands its picture and update commands to), tensor.tab, the manual
#                      (Quillmerehelp.html and its pictures) and the icon. The programs find
#                      everything beside their own file, through the links in bin/.
#   P/bin/quillmere, P/bin/quillmere-cli   relative symbolic links into the program folder
#   P/share/applications/quillmere.desktop, P/share/mime/packages/quillmere.xml
#   P/share/icons/hicolor/<n>x<n>/{apps,mimetypes}/, P/share/icons/hicolor/scalable/...
#   P/share/metainfo/quillmere.metainfo.xml, P/share/man/man1/, P/share/doc/quillmere/
include(GNUInstallDirs)
set(QUILLMERE_PROGRAM_DIR lib/quillmere)
# Debian keeps a package's documents under share/doc/<package name>.
set(QUILLMERE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quillmere)
# AppStream names the program by a reverse domain name and shows a screenshot from the web; set
# both to the publisher's site (the screenshot is docs/screenshot.png).
set(QUILLMERE_APPSTREAM_ID "org.quillmere.Quillmere" CACHE STRING
  "AppStream component id (a reverse domain name)")
set(QUILLMERE_SCREENSHOT_URL "https://quillmere.invalid/screenshots/main-window.png" CACHE STRING
  "Web address of the screenshot named in the AppStream file (docs/screenshot.png)")

if(TARGET quillmere)
  install(TARGETS quillmere RUNTIME DESTINATION ${QUILLMERE_PROGRAM_DIR})
endif()
install(TARGETS quillmere-cli quillmere-cli-full RUNTIME DESTINATION ${QUILLMERE_PROGRAM_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/tensor.tab ${CMAKE_SOURCE_DIR}/data/quillmere.png
  DESTINATION ${QUILLMERE_PROGRAM_DIR})
if(EXISTS ${CMAKE_SOURCE_DIR}/docs/manual)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/manual/ DESTINATION ${QUILLMERE_PROGRAM_DIR})
endif()

# bin/ holds relative links, so the installation can be moved or unpacked anywhere.
file(RELATIVE_PATH QUILLMERE_BIN_TO_PROGRAM /${CMAKE_INSTALL_BINDIR} /${QUILLMERE_PROGRAM_DIR})
set(QUILLMERE_LINKED_PROGRAMS quillmere-cli)
if(TARGET quillmere)
  list(APPEND QUILLMERE_LINKED_PROGRAMS quillmere)
endif()
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin}\")
  foreach(program ${QUILLMERE_LINKED_PROGRAMS})
    message(STATUS \"Installing: \${bin}/\${program} -> ${QUILLMERE_BIN_TO_PROGRAM}/\${program}\")
    file(REMOVE \"\${bin}/\${program}\")
    file(CREATE_LINK \"${QUILLMERE_BIN_TO_PROGRAM}/\${program}\" \"\${bin}/\${program}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${bin}/\${program}\")
  endforeach()
")

# The desktop entry and the file type, written by the same code as Tools > Register.
set(QUILLMERE_DESKTOP_DIR ${CMAKE_BINARY_DIR}/desktop)
add_custom_command(
  OUTPUT ${QUILLMERE_DESKTOP_DIR}/quillmere.desktop ${QUILLMERE_DESKTOP_DIR}/quillmere.xml
  COMMAND write_desktop_files ${QUILLMERE_DESKTOP_DIR}
  DEPENDS write_desktop_files
  COMMENT "Writing the desktop entry and the file type")
add_custom_target(quillmere_desktop_files ALL
  DEPENDS ${QUILLMERE_DESKTOP_DIR}/quillmere.desktop ${QUILLMERE_DESKTOP_DIR}/quillmere.xml)
install(FILES ${QUILLMERE_DESKTOP_DIR}/quillmere.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUILLMERE_DESKTOP_DIR}/quillmere.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Icons, drawn by the program (quillmere-pictures --icon-set data/icons): the program's icon and
# the same picture for its file type.
file(GLOB QUILLMERE_ICON_SIZES RELATIVE ${CMAKE_SOURCE_DIR}/data/icons
  ${CMAKE_SOURCE_DIR}/data/icons/*)
foreach(size ${QUILLMERE_ICON_SIZES})
  file(GLOB icon ${CMAKE_SOURCE_DIR}/data/icons/${size}/apps/quillmere.*)
  get_filename_component(extension ${icon} EXT)
  set(theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size})
  install(FILES ${icon} DESTINATION ${theme}/apps)
  install(FILES ${icon} DESTINATION ${theme}/mimetypes
    RENAME application-x-quillmere-tensor${extension})
endforeach()

# AppStream, manual pages and the documentation folder.
configure_file(${CMAKE_SOURCE_DIR}/packaging/quillmere.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/desktop/${QUILLMERE_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${QUILLMERE_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(page quillmere.1 quillmere-cli.1)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/${page}.in ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
  # Debian wants compressed manual pages; -n keeps the file's bytes the same from build to build.
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
    COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/man/${page} > ${CMAKE_BINARY_DIR}/man/${page}.gz
    DEPENDS ${CMAKE_BINARY_DIR}/man/${page})
  list(APPEND QUILLMERE_MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(quillmere_man_pages ALL DEPENDS ${QUILLMERE_MAN_PAGES})
install(FILES ${QUILLMERE_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
file(GLOB QUILLMERE_EXAMPLES ${CMAKE_SOURCE_DIR}/examples/*.ten ${CMAKE_SOURCE_DIR}/examples/*.csv)
install(FILES ${QUILLMERE_EXAMPLES} DESTINATION ${QUILLMERE_DOC_DIR}/examples)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${QUILLMERE_DOC_DIR})
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/desktop/changelog.gz
  COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/desktop/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
add_custom_target(quillmere_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/desktop/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/desktop/changelog.gz DESTINATION ${QUILLMERE_DOC_DIR})
