# The Windows zip (./run package: cpack -G ZIP in build-win/), laid out as the files go under a lab's
# %PUBLIC% folder:
#   Documents/Veltra4/atmocalc/bin        atmocalc.dll, atmocalc-report.exe (found beside the library),
#                                         atmocalc.exe (the tool)
#   Documents/Veltra4/atmocalc/files      CompsTable.csv
#   Documents/Veltra4/atmocalc/templates  Report.xsl
#   README-ru.txt                         where each file goes, in Russian (UTF-8, CR LF)
# The installer (cmake/InstallerWin32.cmake) is built from the same files.
set(ATMOCALC_DELIVERED Documents/Veltra4/atmocalc)

install(TARGETS atmocalc LIBRARY DESTINATION ${ATMOCALC_DELIVERED}/bin RUNTIME DESTINATION ${ATMOCALC_DELIVERED}/bin)
install(TARGETS atmocalc-report atmocalc_cli RUNTIME DESTINATION ${ATMOCALC_DELIVERED}/bin)
install(FILES ${CMAKE_SOURCE_DIR}/data/CompsTable.csv DESTINATION ${ATMOCALC_DELIVERED}/files)
install(FILES ${CMAKE_SOURCE_DIR}/data/Report.xsl DESTINATION ${ATMOCALC_DELIVERED}/templates)
configure_file(${CMAKE_SOURCE_DIR}/data/package-win32/README-ru.txt ${CMAKE_BINARY_DIR}/package/README-ru.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package/README-ru.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME atmocalc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME atmocalc-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)

include(cmake/InstallerWin32.cmake)
