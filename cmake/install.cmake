# Installs the programs as a desktop application in the standard places
# (programs, launcher entry, icon, AppStream metainfo, manual pages, bash
# completion) and describes the Debian package that scripts/package builds
# from them.
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

# The manual pages are made from the programs' own --help and --version, in
# English, so that they list exactly the options the programs take; the .h2m
# files add what --help does not say. The installed pages, the Debian
# changelog and the copyright file are what lintian asks of a package.
if(UNIX AND NOT CMAKE_CROSSCOMPILING)
  find_program(KV36_HELP2MAN help2man REQUIRED)
  find_program(KV36_GZIP gzip REQUIRED)
  set(kv36_doc_dir ${PROJECT_BINARY_DIR}/package_doc)
  set(kv36_man_config ${kv36_doc_dir}/config)
  file(WRITE ${kv36_man_config}/Talvex_R16.ini "[JAZYK]\nVOLBA=1\n")
  set(kv36_man_pages)
  foreach(program kv36 qzr17ctl qzr17-sim)
    set(include ${PROJECT_SOURCE_DIR}/resources/man/${program}.h2m)
    add_custom_command(OUTPUT ${kv36_doc_dir}/${program}.1.gz
      COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${kv36_man_config}
              ${KV36_HELP2MAN} --no-info --no-discard-stderr --include=${include}
              --output=${kv36_doc_dir}/${program}.1 $<TARGET_FILE:${program}>
      COMMAND ${KV36_GZIP} -9nf ${kv36_doc_dir}/${program}.1
      DEPENDS ${program} ${include}
      VERBATIM)
    list(APPEND kv36_man_pages ${kv36_doc_dir}/${program}.1.gz)
  endforeach()
  # The changelog's newest entry is the version being built.
  file(STRINGS ${PROJECT_SOURCE_DIR}/resources/debian/changelog kv36_changelog_top LIMIT_COUNT 1)
  if(NOT kv36_changelog_top MATCHES "^kv36 \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "resources/debian/changelog has no entry for ${PROJECT_VERSION} at its top")
  endif()
  add_custom_command(OUTPUT ${kv36_doc_dir}/changelog.gz
    COMMAND ${KV36_GZIP} -9n -c ${PROJECT_SOURCE_DIR}/resources/debian/changelog > ${kv36_doc_dir}/changelog.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog)
  add_custom_target(kv36_package_docs ALL DEPENDS ${kv36_man_pages} ${kv36_doc_dir}/changelog.gz)

  install(FILES ${kv36_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${kv36_doc_dir}/changelog.gz ${PROJECT_SOURCE_DIR}/resources/debian/copyright
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/completion/qzr17ctl
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()

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
