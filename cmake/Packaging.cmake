# Installs the three programs with their manual pages, a desktop entry, icons and
# the software centres' metadata, and describes the Debian package that
# `cpack -G DEB` builds from that installation (scripts/package.sh builds it in
# build-package/).
include(GNUInstallDirs)

foreach(program z5-configurator z5ctl z5-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# Manual pages from each program's --help at build time: help2man where it is
# installed, else the help text as it is.
# A cross build (Windows) cannot run its programs here, and has no manual pages.
if(NOT CMAKE_CROSSCOMPILING)
  find_program(Z5_HELP2MAN help2man)
  set(Z5_MAN_DIR ${CMAKE_BINARY_DIR}/man)
  file(MAKE_DIRECTORY ${Z5_MAN_DIR})
  set(z5_man_pages "")
  foreach(entry "z5-configurator|configurator and operator tool for the Z5 controller"
                "z5ctl|command line for the Z5 controller: import, download, watch, trends"
                "z5-sim|simulated Z5 controller on a pseudo-terminal")
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 program)
    list(GET entry 1 summary)
    if(NOT TARGET ${program})
      continue()
    endif()
    set(page ${Z5_MAN_DIR}/${program}.1)
    set(plain OFF)
    if(program STREQUAL "z5ctl")
      set(plain ON)
    endif()
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program} "-DSUMMARY=${summary}"
              -DVERSION=${PROJECT_VERSION} -DHELP2MAN=${Z5_HELP2MAN} -DPLAIN=${plain} -DOUT=${page} -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
      DEPENDS ${program} ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
      COMMENT "Manual page of ${program}"
      VERBATIM)
    list(APPEND z5_man_pages ${page}.gz)
  endforeach()
  add_custom_target(z5_man_pages ALL DEPENDS ${z5_man_pages})
  install(FILES ${z5_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The desktop entry and what software centres show are named by the same reverse-DNS id.
set(Z5_DESKTOP_ID org.example.z5_configurator)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${Z5_DESKTOP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${Z5_DESKTOP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/z5-configurator.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/${size}x${size}/z5-configurator.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
set(z5_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/z5-configurator)
# The example netlist with the parameter and screen files that z5ctl's help examples use.
install(FILES ${CMAKE_SOURCE_DIR}/examples/boiler.net ${CMAKE_SOURCE_DIR}/examples/boiler.par
              ${CMAKE_SOURCE_DIR}/examples/panel.png ${CMAKE_SOURCE_DIR}/examples/panel.scd
        DESTINATION ${z5_doc_dir}/examples)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${z5_doc_dir})
# Debian keeps a package's changelog compressed, byte for byte the same on every build.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
                   COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
                   DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
add_custom_target(z5_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${z5_doc_dir})

set(Z5_PACKAGE_MAINTAINER "Z5 Configurator developers <z5-configurator@example.org>"
    CACHE STRING "The Debian package's Maintainer field: a name and a mail address")
set(CPACK_PACKAGE_NAME z5-configurator)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Z5 Configurator developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configurator and operator tool for the Z5 controller")
set(CPACK_PACKAGE_INSTALL_DIRECTORY z5-configurator)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${Z5_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt, libxlsxwriter and SQLite libraries the programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own translations make the file dialogs speak the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# Follows the summary, the synopsis; every line stays within 80 characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Imports block schematics (P-CAD ASCII netlists), tunes block parameters,
downloads the configuration into the Z5 controller over RS-485, watches live
values and designs the operator screen. Includes the command line z5ctl and
the simulated controller z5-sim.")
include(CPack)
