# SPDX-License-Identifier: GPL-3.0-or-later
# Installation in the freedesktop layout and a Debian package built by CPack.
set(CMAKE_INSTALL_DOCDIR share/doc/equat)
include(GNUInstallDirs)

foreach(tool equat equat-sheet equat-rtf)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/equat.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
set(EQUAT_ICON_SVG ${PROJECT_SOURCE_DIR}/src/app/resources/equat.svg)
set(EQUAT_ICON_PNG ${PROJECT_SOURCE_DIR}/src/app/resources/equat-32.png)
if(EXISTS ${EQUAT_ICON_SVG})
  install(FILES ${EQUAT_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME equat.svg)
endif()
if(EXISTS ${EQUAT_ICON_PNG})
  install(FILES ${EQUAT_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
          RENAME equat.png)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/NEWS.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.example.equat.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages carry the project's version; they and the changelog are installed compressed,
# without a time stamp in the gzip header, so that two builds give the same package.
# Their lists of kinds, key styles and formats come from the tables, printed by the built
# equat-sheet (cmake/ManPage.cmake).
set(EQUAT_GZIPPED)
function(equat_man_page in out lang)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${out}
                     COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:equat-sheet> -DLANG=${lang}
                             -DIN=${PROJECT_SOURCE_DIR}/${in} -DOUT=${CMAKE_BINARY_DIR}/${out}
                             -DPROJECT_VERSION=${PROJECT_VERSION}
                             -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
                     DEPENDS equat-sheet ${PROJECT_SOURCE_DIR}/${in}
                             ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
                     VERBATIM)
endfunction()
foreach(page equat equat-sheet equat-rtf)
  equat_man_page(packaging/man/${page}.1.in man/${page}.1 en)
  list(APPEND EQUAT_GZIPPED man/${page}.1)
endforeach()
# The tools speak French under a French locale; so do their pages there.
set(EQUAT_FR_PAGES equat-sheet equat-rtf)
foreach(page ${EQUAT_FR_PAGES})
  equat_man_page(packaging/man/fr/${page}.1.in man/fr/${page}.1 fr)
  list(APPEND EQUAT_GZIPPED man/fr/${page}.1)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/doc/changelog COPYONLY)
list(APPEND EQUAT_GZIPPED doc/changelog)
foreach(file ${EQUAT_GZIPPED})
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${file}.gz
                     COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/${file}
                     DEPENDS ${CMAKE_BINARY_DIR}/${file})
  list(APPEND EQUAT_GZIP_OUTPUTS ${CMAKE_BINARY_DIR}/${file}.gz)
endforeach()
add_custom_target(equat_gzipped_docs ALL DEPENDS ${EQUAT_GZIP_OUTPUTS})
foreach(page equat equat-sheet equat-rtf)
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
foreach(page ${EQUAT_FR_PAGES})
  install(FILES ${CMAKE_BINARY_DIR}/man/fr/${page}.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/fr/man1)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME equat)
set(CPACK_PACKAGE_VENDOR "Equat")
set(CPACK_PACKAGE_CONTACT "Equat developers <equat-devel@equat.example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://equat.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "worksheets of equations and their answer keys")
set(CPACK_PACKAGE_INSTALL_DIRECTORY equat)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries the executables link: the fonts the documents name, the SVG icon
# loader, the print client, and Qt's French texts for the toolkit's menus and dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, zlib1g, libdeflate0, libqt6svg6, cups-client, qt6-translations-l10n")
# The fonts of adapted copies; without them DejaVu Sans stands in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-sil-andika, fonts-opendyslexic")
# Lines of the extended description stay within 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Equat draws first-degree equations, second-degree equations and systems of\n"
       "two linear equations at three levels, and writes a worksheet and its answer\n"
       "key as RTF documents that can be edited, printed, saved and previewed.\n"
       "The window is in French; equat-sheet makes the same sheets from the command\n"
       "line, and equat-rtf converts them to plain text, PDF or page images.")
set(CPACK_STRIP_FILES ON)
include(CPack)
