# The names every Windows file of the project states (the programs' version resources, their
# manifests, the installer), and the version resource made for one program:
#
#   inkrun_version_resource(<out> FILE <name.exe> NAME <internal name> DESCRIPTION <text>)
#
# configures packaging/windows/version_info.rc.in into <name>-version.rc in the current binary
# folder and sets <out> to its path, for the program's resource script to #include.
set(INKRUN_PRODUCT "Inkrun Script Builder")
set(INKRUN_MAKER "The Inkrun Script Builder contributors")

function(inkrun_version_resource out)
  cmake_parse_arguments(ARG "" "FILE;NAME;DESCRIPTION" "" ${ARGN})
  set(INKRUN_RC_FILE ${ARG_FILE})
  set(INKRUN_RC_NAME ${ARG_NAME})
  set(INKRUN_RC_DESCRIPTION ${ARG_DESCRIPTION})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}-version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/version_info.rc.in ${rc} @ONLY)
  set(${out} ${rc} PARENT_SCOPE)
endfunction()
