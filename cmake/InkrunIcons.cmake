# Renders the icon drawings in icons/ into the files the desktops and installers need, at build
# time, so no rendered picture is ever copied by hand:
#
#   inkrun_render_icons(TARGET <target> OUTPUT_DIR <dir> [ICON_NAME <name>])
#
# adds the target <target> (built by default) that produces
#   <dir>/<id>.ico                                16, 32 and 48 pixel images, for every drawing id;
#                                                 program.ico also a PNG-compressed 256 pixel one,
#                                                 which Explorer shows for large icons
#   <dir>/hicolor/<n>x<n>/apps/<name>.png          the program icon, n = 16 32 48 64 128 256
#   <dir>/hicolor/scalable/apps/<name>.svg         the program icon's master drawing
# <name> defaults to "inkrun". INKRUN_ICON_IDS lists the ids. The renderers (rsvg-convert from
# librsvg2-bin, icotool from icoutils) run on the build machine, also in a cross build.

set(INKRUN_ICON_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../icons)
set(INKRUN_ICON_IDS program information build save clear open-drawings open-setup)

find_program(INKRUN_RSVG_CONVERT rsvg-convert NO_CMAKE_FIND_ROOT_PATH)
find_program(INKRUN_ICOTOOL icotool NO_CMAKE_FIND_ROOT_PATH)

# The drawing for a pixel size, chosen as the Qt window chooses it: the hand-tuned 16 pixel
# drawing below 24 pixels, a 32 pixel one below 48 where there is one, else the master.
function(_inkrun_icon_drawing id pixels out)
  get_filename_component(source_dir ${INKRUN_ICON_SOURCE_DIR} ABSOLUTE)
  set(drawing ${source_dir}/${id}.svg)
  if(pixels LESS 24 AND EXISTS ${source_dir}/16/${id}.svg)
    set(drawing ${source_dir}/16/${id}.svg)
  elseif(pixels LESS 48 AND EXISTS ${source_dir}/32/${id}.svg)
    set(drawing ${source_dir}/32/${id}.svg)
  endif()
  set(${out} ${drawing} PARENT_SCOPE)
endfunction()

# Every drawing file of INKRUN_ICON_IDS: the masters and the hand-tuned small ones, for the
# window's resources.
function(inkrun_icon_drawings out)
  get_filename_component(source_dir ${INKRUN_ICON_SOURCE_DIR} ABSOLUTE)
  set(drawings)
  foreach(id ${INKRUN_ICON_IDS})
    foreach(drawing ${id}.svg 16/${id}.svg 32/${id}.svg)
      if(EXISTS ${source_dir}/${drawing})
        list(APPEND drawings ${source_dir}/${drawing})
      endif()
    endforeach()
  endforeach()
  set(${out} ${drawings} PARENT_SCOPE)
endfunction()

function(_inkrun_render_png id pixels png)
  _inkrun_icon_drawing(${id} ${pixels} drawing)
  get_filename_component(png_dir ${png} DIRECTORY)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${png_dir}
    COMMAND ${INKRUN_RSVG_CONVERT} --width=${pixels} --height=${pixels} --format=png
            --output=${png} ${drawing}
    DEPENDS ${drawing}
    COMMENT "Rendering ${id} at ${pixels} pixels"
    VERBATIM)
endfunction()

function(inkrun_render_icons)
  cmake_parse_arguments(ARG "" "TARGET;OUTPUT_DIR;ICON_NAME" "" ${ARGN})
  if(NOT ARG_TARGET OR NOT ARG_OUTPUT_DIR)
    message(FATAL_ERROR "inkrun_render_icons: TARGET and OUTPUT_DIR are required")
  endif()
  if(NOT ARG_ICON_NAME)
    set(ARG_ICON_NAME inkrun)
  endif()
  if(NOT INKRUN_RSVG_CONVERT OR NOT INKRUN_ICOTOOL)
    message(FATAL_ERROR "inkrun_render_icons needs rsvg-convert (librsvg2-bin) and icotool (icoutils): "
                        "bash scripts/install-deps.sh installs them")
  endif()
  get_filename_component(source_dir ${INKRUN_ICON_SOURCE_DIR} ABSOLUTE)
  set(outputs)

  foreach(id ${INKRUN_ICON_IDS})
    set(images)
    foreach(pixels 16 32 48)
      set(png ${ARG_OUTPUT_DIR}/png/${id}-${pixels}.png)
      _inkrun_render_png(${id} ${pixels} ${png})
      list(APPEND images ${png})
    endforeach()
    set(large)
    set(raw)
    if(id STREQUAL "program")
      set(large ${ARG_OUTPUT_DIR}/hicolor/256x256/apps/${ARG_ICON_NAME}.png)
      set(raw --raw=${large})
    endif()
    add_custom_command(OUTPUT ${ARG_OUTPUT_DIR}/${id}.ico
      COMMAND ${INKRUN_ICOTOOL} --create --output=${ARG_OUTPUT_DIR}/${id}.ico ${images} ${raw}
      DEPENDS ${images} ${large}
      COMMENT "Packing ${id}.ico"
      VERBATIM)
    list(APPEND outputs ${ARG_OUTPUT_DIR}/${id}.ico)
  endforeach()

  foreach(pixels 16 32 48 64 128 256)
    set(png ${ARG_OUTPUT_DIR}/hicolor/${pixels}x${pixels}/apps/${ARG_ICON_NAME}.png)
    _inkrun_render_png(program ${pixels} ${png})
    list(APPEND outputs ${png})
  endforeach()
  set(scalable ${ARG_OUTPUT_DIR}/hicolor/scalable/apps/${ARG_ICON_NAME}.svg)
  add_custom_command(OUTPUT ${scalable}
    COMMAND ${CMAKE_COMMAND} -E copy ${source_dir}/program.svg ${scalable}
    DEPENDS ${source_dir}/program.svg
    VERBATIM)
  list(APPEND outputs ${scalable})

  add_custom_target(${ARG_TARGET} ALL DEPENDS ${outputs})
endfunction()
