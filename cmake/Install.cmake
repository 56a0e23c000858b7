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
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME equat)
set(CPACK_PACKAGE_VENDOR "Equat")
set(CPACK_PACKAGE_CONTACT "Equat developers <equat@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "worksheets of equations and their answer keys")
set(CPACK_PACKAGE_INSTALL_DIRECTORY equat)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries the executables link: the fonts the documents name, the SVG icon
# loader and the print client.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libqt6svg6, cups-client")
set(CPACK_PACKAGE_DESCRIPTION
    "Equat draws first-degree equations, second-degree equations and systems of two linear equations at three levels, and writes a worksheet and its answer key as RTF documents that can be edited, printed, saved and previewed.")
set(CPACK_STRIP_FILES ON)
include(CPack)
