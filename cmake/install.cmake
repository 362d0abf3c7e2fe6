# Installs the programs as a desktop application in the standard places
# (programs, launcher entry, icon, AppStream metainfo) and describes the
# Debian package that scripts/package builds from them.
include(GNUInstallDirs)

set(KV36_APP_ID cz.koravel.kv36)
set(KV36_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
# The build's own date (SOURCE_DATE_EPOCH when set) stands for the release's.
string(TIMESTAMP KV36_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file(${KV36_DESKTOP_DIR}/${KV36_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${KV36_APP_ID}.metainfo.xml @ONLY)

install(TARGETS kv36 qzr17ctl qzr17-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KV36_DESKTOP_DIR}/${KV36_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/kv36.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${KV36_APP_ID}.svg)
install(FILES ${PROJECT_BINARY_DIR}/${KV36_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The unit template of qzr17ctl watch; the package enables no instance.
install(FILES ${PROJECT_SOURCE_DIR}/resources/systemd/kv36-watch@.service
        DESTINATION lib/systemd/system)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kv36)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR KORAVEL)
set(CPACK_PACKAGE_CONTACT "KORAVEL <servis@koravel.cz>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "commissioning and monitoring tool for the QZR 17 heating regulator")
set(CPACK_PACKAGE_DESCRIPTION
  "KV-36 reads and writes the parameters and the weekly schedule of a QZR 17\n"
  "weather-compensated heating regulator over its serial bus, charts and logs\n"
  "the live temperatures and searches the bus for answering addresses.\n"
  "Includes qzr17ctl, the command-line companion, whose watch command logs a\n"
  "regulator's values unattended and publishes them over MQTT (systemd unit\n"
  "kv36-watch@.service, not enabled), and qzr17-sim, a regulator simulator on\n"
  "a pseudo-terminal.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not tell: the SVG plugins draw the program's pictures
# and icons, and Qt's Czech translation labels its standard dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
