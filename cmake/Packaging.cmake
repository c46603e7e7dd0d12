# What `cmake --install` puts where, and the Debian package that
# `cmake --build <dir> --target package` makes of it:
# <dir>/davirodir_<version>_<arch>.deb. The version is the project's.

include(GNUInstallDirs)

set(DAVIRODIR_APP_ID example.zevarir.Davirodir)
set(DAVIRODIR_MAINTAINER "Zevarir <davirodir@zevarir.example>")
set(DAVIRODIR_SUMMARY "Load new firmware into the Zodeduri over MIDI")
set(_pkg ${PROJECT_SOURCE_DIR}/packaging)
set(_pkg_out ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS Davirodir RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Desktop entry, metainfo and icon all carry the application's id, so that
# software centres tie them together.
install(FILES app/davirodir.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
  RENAME ${DAVIRODIR_APP_ID}.desktop)
install(FILES ${_pkg}/${DAVIRODIR_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(_size 48 128 256)
  install(FILES ${_pkg}/icons/davirodir-${_size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
    RENAME ${DAVIRODIR_APP_ID}.png)
endforeach()
install(FILES ${_pkg}/icons/davirodir.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${DAVIRODIR_APP_ID}.svg)

# The manual page and the changelog are installed gzipped, without a time
# stamp in the header, so that two builds give the same bytes.
find_program(DAVIRODIR_GZIP gzip REQUIRED)
configure_file(docs/Davirodir.1.in ${_pkg_out}/Davirodir.1 @ONLY)
configure_file(${_pkg}/changelog.in ${_pkg_out}/changelog @ONLY)
add_custom_command(
  OUTPUT ${_pkg_out}/Davirodir.1.gz ${_pkg_out}/changelog.gz
  COMMAND ${DAVIRODIR_GZIP} -9nkf ${_pkg_out}/Davirodir.1 ${_pkg_out}/changelog
  DEPENDS ${_pkg_out}/Davirodir.1 ${_pkg_out}/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(davirodir_docs ALL DEPENDS ${_pkg_out}/Davirodir.1.gz ${_pkg_out}/changelog.gz)
install(FILES ${_pkg_out}/Davirodir.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_pkg}/copyright ${_pkg_out}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/davirodir)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME davirodir)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Zevarir)
set(CPACK_PACKAGE_CONTACT ${DAVIRODIR_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${DAVIRODIR_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.zevarir.example/zodeduri)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# CPack turns the lines after the first into the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${DAVIRODIR_SUMMARY}
Davirodir sends application firmware to the Zodeduri as MIDI System
Exclusive messages through an ordinary MIDI interface, one message at a time
with a pause after each, while a progress bar follows the upload. It carries
one firmware image and can send a SysEx file instead; with --autoupdate
another program can run a whole update without a click.")
include(CPack)
