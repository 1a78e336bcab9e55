# The .ico files of the resource script, rendered at build time from the same drawings the Qt
# window and the Linux package use (icons/*.svg), with 16, 32 and 48 pixel images.
include(${CMAKE_SOURCE_DIR}/cmake/InkrunIcons.cmake)
set(INKRUN_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
inkrun_render_icons(TARGET inkrun_win32_icons OUTPUT_DIR ${INKRUN_ICON_DIR})
set(INKRUN_WINDOWS_ICONS)
foreach(id ${INKRUN_ICON_IDS})
  list(APPEND INKRUN_WINDOWS_ICONS ${INKRUN_ICON_DIR}/${id}.ico)
endforeach()
