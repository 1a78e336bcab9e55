# The Windows installer, inkrun-<version>-win64.exe, made by CPack's NSIS generator from the cross build.
# The settings directory is the working folder the Start-menu shortcut gives: Documents\Inkrun
# (the shared Public Documents for an all-users install), a folder every user can write and find.
# readme.htm is copied there so How To works from the first start. Uninstalling leaves the
# folder: it holds the user's setups.
install(FILES ${CMAKE_SOURCE_DIR}/docs/readme.htm DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME "Inkrun Script Builder")
set(CPACK_PACKAGE_VENDOR "The Inkrun Script Builder contributors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Writes one CAD script that opens and processes many drawings")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(INKRUN_WINDOWS_INSTALLER inkrun-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_FILE_NAME ${INKRUN_WINDOWS_INSTALLER})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Inkrun Script Builder")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Inkrun Script Builder")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
# Wine here and 64-bit Windows run a 64-bit, Unicode installer.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME "Inkrun Script Builder ${PROJECT_VERSION}")
set(CPACK_NSIS_PACKAGE_NAME "Inkrun Script Builder")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\inkrun.exe")
set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/icons/program.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_BINARY_DIR}/icons/program.ico)
# The shortcut's working folder is the settings directory: SetOutPath decides it.
set(CPACK_NSIS_CREATE_ICONS_EXTRA "
  CreateDirectory '$DOCUMENTS\\\\Inkrun'
  IfFileExists '$DOCUMENTS\\\\Inkrun\\\\readme.htm' +1 +1
  CopyFiles /SILENT '$INSTDIR\\\\readme.htm' '$DOCUMENTS\\\\Inkrun'
  SetOutPath '$DOCUMENTS\\\\Inkrun'
  CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Inkrun Script Builder.lnk' '$INSTDIR\\\\bin\\\\inkrun.exe'
  SetOutPath '$INSTDIR'
")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "
  Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Inkrun Script Builder.lnk'
")
include(CPack)
