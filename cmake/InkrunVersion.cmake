# Every form in which the program states its version, made from project()'s version and
# INKRUN_RELEASE_DATE (YYYY-MM-DD):
#   generated/inkrun_version.h       the numbers and the text, for the programs and the tests
#   INKRUN_VERSION_QUAD              major.minor.0.revision, as Windows manifests count
#   INKRUN_VERSION_COMMAS            the same with commas, as the version resource's numbers
#   INKRUN_VERSION_RESOURCE_TEXT     major.MM.RRRR, the text of the Windows version resource
#   INKRUN_RELEASE_MONTH             "Month YYYY", the date of the manual pages
# and, read from LICENSE so that they stand only there, the copyright's years and holder and the
# licence's name (with the address of its text), which --version states.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE _inkrun_licence)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
if(NOT _inkrun_licence MATCHES "^([^\n]+) License\n")
  message(FATAL_ERROR "LICENSE does not begin with the licence's name, as 'MIT License'")
endif()
set(INKRUN_LICENCE_NAME "${CMAKE_MATCH_1}")
string(TOLOWER "${INKRUN_LICENCE_NAME}" _inkrun_licence_id)
set(INKRUN_LICENCE_URL "https://opensource.org/license/${_inkrun_licence_id}")
if(NOT _inkrun_licence MATCHES "\nCopyright \\([cC]\\) ([0-9][0-9, -]*[0-9]) ([^\n]+)\n")
  message(FATAL_ERROR "LICENSE holds no line 'Copyright (c) YEARS HOLDER'")
endif()
set(INKRUN_COPYRIGHT_YEARS "${CMAKE_MATCH_1}")
set(INKRUN_COPYRIGHT_HOLDER "${CMAKE_MATCH_2}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/version.h.in ${CMAKE_BINARY_DIR}/generated/inkrun_version.h @ONLY)

set(INKRUN_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.${PROJECT_VERSION_PATCH}")
string(REPLACE "." "," INKRUN_VERSION_COMMAS "${INKRUN_VERSION_QUAD}")

function(_inkrun_zero_padded value width out)
  string(LENGTH "${value}" length)
  set(padded "${value}")
  while(length LESS width)
    string(PREPEND padded "0")
    math(EXPR length "${length} + 1")
  endwhile()
  set(${out} "${padded}" PARENT_SCOPE)
endfunction()
_inkrun_zero_padded(${PROJECT_VERSION_MINOR} 2 _inkrun_minor)
_inkrun_zero_padded(${PROJECT_VERSION_PATCH} 4 _inkrun_revision)
set(INKRUN_VERSION_RESOURCE_TEXT "${PROJECT_VERSION_MAJOR}.${_inkrun_minor}.${_inkrun_revision}")

if(NOT INKRUN_RELEASE_DATE MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-[0-9][0-9]$")
  message(FATAL_ERROR "INKRUN_RELEASE_DATE must be YYYY-MM-DD, not '${INKRUN_RELEASE_DATE}'")
endif()
set(_inkrun_year ${CMAKE_MATCH_1})
math(EXPR _inkrun_month_index "${CMAKE_MATCH_2} - 1")
set(_inkrun_months January February March April May June July August September October November December)
list(GET _inkrun_months ${_inkrun_month_index} _inkrun_month)
set(INKRUN_RELEASE_MONTH "${_inkrun_month} ${_inkrun_year}")
