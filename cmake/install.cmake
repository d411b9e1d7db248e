# The program's version comes from project(VERSION) alone.
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/generated/pairly_version.h
     CONTENT "#pragma once\n#define PAIRLY_VERSION \"@PROJECT_VERSION@\"\n" @ONLY)
target_include_directories(pairly_core PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/generated)

include(GNUInstallDirs)
set(PAIRLY_APP_ID io.github.pairlylog.PairlyLog)
set(PAIRLY_ICON_SIZES 16 22 24 32 48 64 128 256)

install(TARGETS pairlylog RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/pairlylog.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${PAIRLY_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/icons/pairlylog.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${PAIRLY_ICON_SIZES})
  install(FILES data/icons/${size}/pairlylog.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian package (scripts/package). Library dependencies come from dpkg-shlibdeps; the
# recommended packages are data the program looks for at run time: the Japanese font and
# Qt's Japanese translations.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pairlylog)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "PairlyLog")
set(PAIRLY_PACKAGE_MAINTAINER "PairlyLog developers <pairlylog@users.noreply.github.com>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${PAIRLY_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "diet diary for couples (ペアリー☆ログ)")
set(CPACK_PACKAGE_DESCRIPTION
    "ペアリー☆ログ is a desktop diet diary for two people who diet together.\n\
Both partners type in their weighings (weight, body fat and more); the program compares\n\
them, lists and graphs the history and colours a calendar. All text is Japanese.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)

if(PAIRLY_TESTS)
  # The real program answers --version, --help and a bad command line without a display.
  add_test(NAME command_line_without_display
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/install/command_line_test.sh
                   $<TARGET_FILE:pairlylog> ${PROJECT_VERSION})
  # Installs into a temporary folder, checks the files and runs the validators on them
  # (skipped when desktop-file-validate or appstreamcli is missing).
  add_test(NAME installed_files
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/install/installed_files_test.sh
                   ${CMAKE_CURRENT_BINARY_DIR} "${PAIRLY_ICON_SIZES}")
  set_tests_properties(installed_files PROPERTIES SKIP_RETURN_CODE 77)
endif()
