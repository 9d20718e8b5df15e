# Installs the three programs with a desktop entry and an icon, and describes the
# Debian package that `cpack -G DEB` builds from that installation.
include(GNUInstallDirs)

foreach(program z5-configurator z5ctl z5-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/z5-configurator.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/z5-configurator.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/examples/boiler.net
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/z5-configurator/examples)

set(CPACK_PACKAGE_NAME z5-configurator)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Z5 Configurator developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configurator and operator tool for the Z5 controller")
set(CPACK_PACKAGE_INSTALL_DIRECTORY z5-configurator)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Z5 Configurator developers <z5@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The Qt and libxlsxwriter libraries the programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own translations make the file dialogs speak the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Imports block schematics (P-CAD ASCII netlists), tunes block parameters, downloads\nthe configuration into the Z5 controller over RS-485, watches live values and\ndesigns the operator screen. Includes the command line z5ctl and the simulated\ncontroller z5-sim.")
include(CPack)
