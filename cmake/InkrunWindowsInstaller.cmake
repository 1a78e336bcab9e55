# The Windows installer, inkrun-<version>-win64.exe, made by CPack's NSIS generator from the cross build.
# The settings directory is the working folder the Start-menu shortcut gives: Documents\Inkrun
# (the shared Public Documents for an all-users install), a folder every user can write and find.
# It is made, with its copy of readme.htm, in every install, shortcuts or not, and a readme.htm a
# user already has there is kept. Uninstalling leaves the folder: it holds the user's setups.
install(FILES ${CMAKE_SOURCE_DIR}/docs/readme.htm DESTINATION .)
# How To looks beside the program too, for a copy started from its own folder.
install(FILES ${CMAKE_SOURCE_DIR}/docs/readme.htm DESTINATION bin)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME "${INKRUN_PRODUCT}")
set(CPACK_PACKAGE_VENDOR "${INKRUN_MAKER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Writes one CAD script that opens and processes many drawings")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(INKRUN_WINDOWS_INSTALLER inkrun-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_FILE_NAME ${INKRUN_WINDOWS_INSTALLER})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${INKRUN_PRODUCT}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${INKRUN_PRODUCT}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME "${INKRUN_PRODUCT} ${PROJECT_VERSION}")
set(CPACK_NSIS_PACKAGE_NAME "${INKRUN_PRODUCT}")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\inkrun.exe")
set(CPACK_NSIS_MUI_ICON ${CMAKE_BINARY_DIR}/icons/program.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_BINARY_DIR}/icons/program.ico)

# The installer's version resource, like the programs'. Its manifest is the one the installer
# tool writes (Modern UI asks for the common controls and so always makes one, over any given
# with PEAddResource); it is made DPI-aware here.
# Wine here and 64-bit Windows run a 64-bit, Unicode installer.
set(CPACK_NSIS_DEFINES "
  Target amd64-unicode
  !include FileFunc.nsh
  BrandingText '${INKRUN_PRODUCT} ${PROJECT_VERSION}'
  ManifestDPIAware true
  VIProductVersion ${INKRUN_VERSION_QUAD}
  VIAddVersionKey ProductName '${INKRUN_PRODUCT}'
  VIAddVersionKey CompanyName '${INKRUN_MAKER}'
  VIAddVersionKey FileDescription '${INKRUN_PRODUCT} Setup'
  VIAddVersionKey FileVersion '${INKRUN_VERSION_RESOURCE_TEXT}'
  VIAddVersionKey ProductVersion '${INKRUN_VERSION_RESOURCE_TEXT}'
  VIAddVersionKey LegalCopyright 'MIT licence'
  VIAddVersionKey OriginalFilename '${INKRUN_WINDOWS_INSTALLER}.exe'
")

# The options page offers to put the programs' folder (bin) on PATH, for inkrun-build at any
# prompt; off unless chosen, as most installs are for the window alone and PATH is shared by
# every program. A silent install chooses it with /ADDTOPATH. The uninstaller takes it out again.
set(CPACK_NSIS_MODIFY_PATH ON)
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "
  \\\${GetParameters} $R0
  ClearErrors
  \\\${GetOptions} $R0 '/ADDTOPATH' $R1
  IfErrors inkrunPathAsChosen
    WriteINIStr '$PLUGINSDIR\\\\NSIS.InstallOptions.ini' 'Field 2' 'State' '0'
    StrCmp $SV_ALLUSERS 'AllUsers' 0 +3
      WriteINIStr '$PLUGINSDIR\\\\NSIS.InstallOptions.ini' 'Field 3' 'State' '1'
      Goto inkrunPathAsChosen
    WriteINIStr '$PLUGINSDIR\\\\NSIS.InstallOptions.ini' 'Field 4' 'State' '1'
  inkrunPathAsChosen:
")

set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  CreateDirectory '$DOCUMENTS\\\\Inkrun'
  IfFileExists '$DOCUMENTS\\\\Inkrun\\\\readme.htm' +2 0
    CopyFiles /SILENT '$INSTDIR\\\\readme.htm' '$DOCUMENTS\\\\Inkrun'
")
# The shortcut's working folder is the settings directory: SetOutPath decides it.
set(CPACK_NSIS_CREATE_ICONS_EXTRA "
  SetOutPath '$DOCUMENTS\\\\Inkrun'
  CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Inkrun Script Builder.lnk' '$INSTDIR\\\\bin\\\\inkrun.exe'
  SetOutPath '$INSTDIR'
")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "
  Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Inkrun Script Builder.lnk'
")
include(CPack)
