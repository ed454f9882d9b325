# Installation into the usual places (GNUInstallDirs) and the Debian package (CPack):
#   cmake --install build [--prefix DIR]
#   cd build && cpack            -> kelvara_<version>_amd64.deb
include(GNUInstallDirs)

install(TARGETS kelvara-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET Kelvara)
  install(TARGETS Kelvara RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(NOT UNIX OR APPLE)
  return() # Windows: the executables only; windeployqt gathers Qt beside them (README)
endif()

# The date of this release: the last commit's, so that a rebuild of the same sources gives the
# same package; the configure day outside a git checkout.
set(KELVARA_RELEASE_DATE_RFC2822)
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${GIT_EXECUTABLE} log -1 --format=%cs%n%cd
                          "--date=format:%a, %d %b %Y %H:%M:%S %z" WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                  OUTPUT_VARIABLE commit_date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE result)
  if(result EQUAL 0 AND commit_date MATCHES "^([0-9-]+)\n(.+)$")
    set(KELVARA_RELEASE_DATE ${CMAKE_MATCH_1})
    set(KELVARA_RELEASE_DATE_RFC2822 ${CMAKE_MATCH_2})
  endif()
endif()
if(NOT KELVARA_RELEASE_DATE_RFC2822)
  string(TIMESTAMP KELVARA_RELEASE_DATE "%Y-%m-%d" UTC)
  string(TIMESTAMP KELVARA_RELEASE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()

set(KELVARA_DIST ${CMAKE_BINARY_DIR}/dist)
# Manual pages and the changelog, compressed as Debian keeps them.
set(KELVARA_MANPAGES kelvara-report.1)
if(TARGET Kelvara)
  list(APPEND KELVARA_MANPAGES Kelvara.1)
endif()
set(KELVARA_GZIPPED)
foreach(name ${KELVARA_MANPAGES} changelog)
  configure_file(dist/${name}.in ${KELVARA_DIST}/${name} @ONLY)
  add_custom_command(OUTPUT ${KELVARA_DIST}/${name}.gz
    COMMAND gzip -9 -n -f -k ${name}
    DEPENDS ${KELVARA_DIST}/${name}
    WORKING_DIRECTORY ${KELVARA_DIST} VERBATIM)
  list(APPEND KELVARA_GZIPPED ${KELVARA_DIST}/${name}.gz)
endforeach()
add_custom_target(kelvara-manpage ALL DEPENDS ${KELVARA_GZIPPED})
foreach(name ${KELVARA_MANPAGES})
  install(FILES ${KELVARA_DIST}/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${KELVARA_DIST}/changelog.gz dist/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelvara)
# The demonstration data, offered at the first start.
install(FILES sample/zlttimes.log sample/trinfo.bin DESTINATION ${CMAKE_INSTALL_DATADIR}/kelvara/sample)

if(TARGET Kelvara)
  # The menu entry and the software centres' description share the id org.example.kelvara.
  install(FILES dist/org.example.kelvara.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(dist/org.example.kelvara.metainfo.xml.in ${KELVARA_DIST}/org.example.kelvara.metainfo.xml @ONLY)
  install(FILES ${KELVARA_DIST}/org.example.kelvara.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The menu icons are drawn at build time by the code that draws the window's icon, so the
  # two never differ and no picture files are kept in the sources.
  add_executable(kelvara-render-icon app/icon/RenderIcon.cpp)
  target_link_libraries(kelvara-render-icon PRIVATE Kelvara::gui)
  target_compile_options(kelvara-render-icon PRIVATE ${KELVARA_WARNINGS})
  set(KELVARA_ICON_SIZES 16 24 32 48 64 128 256)
  set(KELVARA_ICONS)
  foreach(size ${KELVARA_ICON_SIZES})
    list(APPEND KELVARA_ICONS ${CMAKE_BINARY_DIR}/icons/${size}x${size}/apps/kelvara.png)
  endforeach()
  add_custom_command(OUTPUT ${KELVARA_ICONS}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:kelvara-render-icon> ${CMAKE_BINARY_DIR}/icons
    DEPENDS kelvara-render-icon VERBATIM)
  add_custom_target(kelvara-icons ALL DEPENDS ${KELVARA_ICONS})
  install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endif()

# A test installs into a temporary prefix and checks what arrives there.
if(NOT CMAKE_CROSSCOMPILING)
  set(KELVARA_GUI_INSTALLED OFF)
  if(TARGET Kelvara)
    set(KELVARA_GUI_INSTALLED ON)
  endif()
  add_test(NAME Install COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
           -DPREFIX=${CMAKE_BINARY_DIR}/install-test -DGUI=${KELVARA_GUI_INSTALLED}
           -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/CheckInstall.cmake)
endif()

# ---- Debian package --------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelvara")
set(CPACK_PACKAGE_CONTACT "Kelvara developers <kelvara@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "statistics of stage runs in a rally simulation game")
set(CPACK_PACKAGE_DESCRIPTION
  "Kelvara reads the times log and the stage file of a rally game's timing\n"
  "plug-in and shows every run of a stage in a sortable table, with the\n"
  "stage's and the whole game's statistics, a chart of a stage's progress and\n"
  "a filter by date, car, class, profile and conditions. The interface is in\n"
  "Russian. kelvara-report prints the same figures as text.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kelvara_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION utils) # a companion to a game, not a game itself
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # the libraries' packages, found by dpkg-shlibdeps
if(TARGET Kelvara)
  # Qt's platform plugins (xcb, wayland) are only recommended by its libraries; without them the
  # window does not open.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n) # Qt's dialogs and buttons in Russian
include(CPack)
