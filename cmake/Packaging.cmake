# Installation and the Debian package (CPack): the program and its database tool in /usr/bin; the report
# layouts, the manual and the database scripts (the demo data among them) in /usr/share/vardelo; the menu
# entry, the icon, the man pages and the copyright file where Debian keeps them.
#
#     cmake --build build --target package     (builds everything first)
#     scripts/package                          (builds the two programs only, then the package and lintian)
include(GNUInstallDirs)

# `install` and CPack's own install step do not build everything first: scripts/package builds just the two
# programs. The `package` target still depends on the whole build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Full RELRO for the installed programs (cmake/Hardening.cmake gives it to every target when dpkg-buildflags is
# there).
foreach(program vardelo vardelo-db)
  target_link_options(${program} PRIVATE LINKER:-z,relro LINKER:-z,now)
endforeach()

set(VARDELO_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/vardelo)
install(TARGETS vardelo vardelo-db RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
file(GLOB VARDELO_LAYOUT_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/layouts/*.frf)
install(FILES ${VARDELO_LAYOUT_FILES} ${CMAKE_SOURCE_DIR}/docs/ZOZED2009.HLP DESTINATION ${VARDELO_SHARE_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/db/du2010.sql ${CMAKE_SOURCE_DIR}/db/initial.sql ${CMAKE_SOURCE_DIR}/db/demo.sql
  DESTINATION ${VARDELO_SHARE_DIR}/db)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/vardelo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/vardelo.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# What software centres show of the program (AppStream), named by its component id.
configure_file(${CMAKE_SOURCE_DIR}/packaging/vardelo.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/packaging/hu.kestrova.vardelo.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/hu.kestrova.vardelo.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vardelo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrova Szoftver Bt.")
# The supplier, as the about box names it.
set(CPACK_PACKAGE_CONTACT "Kestrova Szoftver Bt. <info@kestrova-szoftver.hu>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "register of livestock purchase tickets (Hungarian)")
# CPack puts the summary first and indents the text, each empty line made " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vardelo keeps the livestock purchase tickets of a firm in Hungary that buys
animals from primary producers: purchasers, producers, the animal catalogue,
numbered tickets with their lines, the printed ticket with its settlement,
the monthly import files of the tax return, lists, checks and exports.

Every screen is in Hungarian. The data are kept in a Firebird 3 database,
opened by the embedded engine or on a Firebird server.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What dpkg-shlibdeps cannot see: the embedded engine (a plugin the client library loads), Qt's platform
# plugins, Qt's Hungarian texts of its own dialogs, the SVG plugin that draws the windows' icon, and the fonts
# the report layouts' Arial is replaced with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "firebird3.0-server-core, qt6-qpa-plugins, qt6-translations-l10n, libqt6svg6, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, xdg-utils")

# The man pages and the changelog, compressed as Debian keeps them (-n: no name or time stamp inside).
set(VARDELO_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.Debian.in ${VARDELO_PACKAGING_OUT}/changelog.Debian @ONLY)
set(VARDELO_COMPRESSED)
foreach(source vardelo.1 vardelo-db.1 changelog.Debian)
  if(source STREQUAL "changelog.Debian")
    set(input ${VARDELO_PACKAGING_OUT}/${source})
  else()
    set(input ${CMAKE_SOURCE_DIR}/packaging/${source})
  endif()
  set(output ${VARDELO_PACKAGING_OUT}/${source}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${input} ${output}
    DEPENDS ${input} VERBATIM)
  list(APPEND VARDELO_COMPRESSED ${output})
endforeach()
add_custom_target(vardelo_packaging_files ALL DEPENDS ${VARDELO_COMPRESSED})
add_dependencies(vardelo vardelo_packaging_files)
install(FILES ${VARDELO_PACKAGING_OUT}/vardelo.1.gz ${VARDELO_PACKAGING_OUT}/vardelo-db.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The package is the firm's, not Debian's: no ITP bug to close.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME vardelo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${VARDELO_PACKAGING_OUT}/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
