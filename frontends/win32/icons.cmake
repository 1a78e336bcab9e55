# Where the .ico files of the resource script come from. TEMPORARY: until the icons have one
# source for both windows, these are the Qt window's painted icons saved at 16, 32 and 48 pixels.
set(INKRUN_ICON_DIR ${CMAKE_CURRENT_SOURCE_DIR}/temporary-icons)
file(GLOB INKRUN_WINDOWS_ICONS ${INKRUN_ICON_DIR}/*.ico)
