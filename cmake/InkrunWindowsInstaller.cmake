# The Windows installer, inkrun-<version>-win64.exe, and its checksum inkrun-<version>-win64.exe.sha256,
# made by `cpack -G NSIS` from the cross build. CPack stages the installed files and runs the
# installer tool; the installer script is our own, packaging/windows/NSIS.template.in (CPack takes
# a template of that name from CPACK_MODULE_PATH before its own), with its parts beside it.
install(FILES ${CMAKE_SOURCE_DIR}/docs/readme.htm DESTINATION .)
# How To looks beside the program too, for a copy started from its own folder.
install(FILES ${CMAKE_SOURCE_DIR}/docs/readme.htm DESTINATION bin)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR NSIS)
set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging/windows)
set(CPACK_PACKAGE_NAME "${INKRUN_PRODUCT}")
set(CPACK_PACKAGE_VENDOR "${INKRUN_MAKER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Writes one CAD script that opens and processes many drawings")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(INKRUN_WINDOWS_INSTALLER inkrun-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_FILE_NAME ${INKRUN_WINDOWS_INSTALLER})
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${INKRUN_PRODUCT}")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_DISPLAY_NAME "${INKRUN_PRODUCT} ${PROJECT_VERSION}")
set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/icons/program.ico)

# What the installer script needs besides CPack's own values (CPack passes on every CPACK_ variable).
set(CPACK_INKRUN_SCRIPT_DIR ${CMAKE_SOURCE_DIR}/packaging/windows)
set(CPACK_INKRUN_VERSION_QUAD ${INKRUN_VERSION_QUAD})
set(CPACK_INKRUN_VERSION_TEXT ${INKRUN_VERSION_RESOURCE_TEXT})
# A running copy is asked to close as a starting copy asks it: by its window's class and title.
set(CPACK_INKRUN_WINDOW_CLASS "${INKRUN_WINDOW_CLASS}")
file(STRINGS ${CMAKE_SOURCE_DIR}/model/program_settings.h _inkrun_title_line REGEX "kMainWindowTitle = \"")
if(NOT _inkrun_title_line MATCHES "kMainWindowTitle = \"([^\"]+)\"")
  message(FATAL_ERROR "no kMainWindowTitle in model/program_settings.h")
endif()
set(CPACK_INKRUN_WINDOW_TITLE "${CMAKE_MATCH_1}")
include(CPack)
