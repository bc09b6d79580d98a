# Installation and the Debian package (./run package: cpack -G DEB).
#   /usr/bin                      veltra-host, atmocalc (the tool)
#   /usr/lib/atmocalc             atmocalc.so (the plug-in; the host finds it as ../lib/atmocalc/ from its
#                                 own folder, so an unpacked package runs wherever it is)
#   /usr/share/applications       veltra-host.desktop; /usr/share/icons/.../atmocalc.svg its icon
#   /usr/share/man/man1           atmocalc.1.gz, veltra-host.1.gz
#   ATMOCALC_PUBLIC_DIR           the shared PUBLIC folder with the delivered component table and report
#                                 template, kept as conffiles so that edited K values survive an upgrade
set(ATMOCALC_PACKAGE_DIR ${CMAKE_SOURCE_DIR}/data/package)
set(ATMOCALC_DELIVERED ${ATMOCALC_PUBLIC_DIR}/Documents/Veltra4/atmocalc)

install(TARGETS veltra-host atmocalc_cli RUNTIME DESTINATION bin)
install(TARGETS atmocalc LIBRARY DESTINATION lib/atmocalc)
install(FILES ${CMAKE_SOURCE_DIR}/data/CompsTable.csv DESTINATION ${ATMOCALC_DELIVERED}/files)
install(FILES ${CMAKE_SOURCE_DIR}/data/Report.xsl DESTINATION ${ATMOCALC_DELIVERED}/templates)
install(FILES ${CMAKE_SOURCE_DIR}/data/veltra-host.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/icons/plugin.svg DESTINATION share/icons/hicolor/scalable/apps
        RENAME atmocalc.svg)

# Debian wants the changelog compressed without a time stamp.
set(ATMOCALC_CHANGELOG ${CMAKE_BINARY_DIR}/package/changelog.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
execute_process(COMMAND gzip -9nc ${ATMOCALC_PACKAGE_DIR}/changelog OUTPUT_FILE ${ATMOCALC_CHANGELOG})
install(FILES ${ATMOCALC_PACKAGE_DIR}/copyright ${ATMOCALC_CHANGELOG} DESTINATION share/doc/atmocalc)
# The manual pages of the two programs, compressed the same way.
foreach(page atmocalc veltra-host)
  execute_process(COMMAND gzip -9nc ${ATMOCALC_PACKAGE_DIR}/${page}.1 OUTPUT_FILE ${CMAKE_BINARY_DIR}/package/${page}.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/package/${page}.1.gz DESTINATION share/man/man1)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ATMOCALC_PACKAGE_DIR}/${page}.1)
endforeach()

foreach(script postinst postrm)
  configure_file(${ATMOCALC_PACKAGE_DIR}/${script}.in ${CMAKE_BINARY_DIR}/package/${script} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
endforeach()
configure_file(${ATMOCALC_PACKAGE_DIR}/conffiles.in ${CMAKE_BINARY_DIR}/package/conffiles @ONLY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME atmocalc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ATMOCALC_VENDOR} <atmocalc@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hydrocarbons in air from gas chromatograms, with the Veltra host")
set(CPACK_PACKAGE_DESCRIPTION "The atmocalc plug-in computes the mass concentrations of hydrocarbons in
atmospheric air and emissions from gas chromatograms (methane calibration
with a convergence check, individual components, saturated and unsaturated
sums with their uncertainty) and writes an HTML report.

veltra-host is the host program: a catalogue of the assays of a host
database that loads the plug-in; atmocalc is the command-line tool.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser")
# The report opens through xdg-open, and Qt's own texts are Russian with Qt's translations; without
# them the report's path is shown in a box and those texts stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_BINARY_DIR}/package/conffiles ${CMAKE_BINARY_DIR}/package/postinst ${CMAKE_BINARY_DIR}/package/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
