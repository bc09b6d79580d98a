# The Windows installer build-win/atmocalc-<version>-setup.exe (data/installer/atmocalc.nsi), built by
# makensis from what the zip holds: the install rules of PackageWin32.cmake, staged stripped in
# package/stage. Part of the default build, so that the Windows tests find it.
find_program(ATMOCALC_MAKENSIS makensis REQUIRED)
set(ATMOCALC_INSTALLER ${CMAKE_BINARY_DIR}/atmocalc-${PROJECT_VERSION}-setup.exe)
set(ATMOCALC_INSTALLER_STAGE ${CMAKE_BINARY_DIR}/package/stage)
set(ATMOCALC_INSTALLER_SCRIPT ${CMAKE_SOURCE_DIR}/data/installer/atmocalc.nsi)
string(REPLACE / \\ atmocalc_delivered_windows ${ATMOCALC_DELIVERED})

add_custom_command(OUTPUT ${ATMOCALC_INSTALLER}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ATMOCALC_INSTALLER_STAGE}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${ATMOCALC_INSTALLER_STAGE} --strip
  COMMAND ${ATMOCALC_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DPUBLISHER=${ATMOCALC_VENDOR}
          -DSTAGE=${ATMOCALC_INSTALLER_STAGE}/${ATMOCALC_DELIVERED} -DDELIVERED=${atmocalc_delivered_windows}
          -DOUTFILE=${ATMOCALC_INSTALLER} ${ATMOCALC_INSTALLER_SCRIPT}
  DEPENDS atmocalc atmocalc-report atmocalc_cli ${ATMOCALC_INSTALLER_SCRIPT}
          ${CMAKE_SOURCE_DIR}/data/CompsTable.csv ${CMAKE_SOURCE_DIR}/data/Report.xsl
  COMMENT "Building the installer atmocalc-${PROJECT_VERSION}-setup.exe"
  VERBATIM)
add_custom_target(atmocalc_installer ALL DEPENDS ${ATMOCALC_INSTALLER})
