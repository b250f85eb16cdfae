# The one home of the files' version resources. Every built file (the
# installer and both plug-in builds) gets its VERSIONINFO from here, with the
# version number the root project declares.
#
#   write_version_resource(OUT VERSION DESCRIPTION ORIGINAL_NAME FILE_TYPE)
#
# writes the resource script OUT; VERSION has one to four dotted numbers
# (missing ones are 0), FILE_TYPE is VFT_APP or VFT_DLL. The internal name is
# the original file name without its extension.
set(VERSION_RESOURCE_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version.rc.in)
set(VERSION_COPYRIGHT_YEAR 2026)

# four_part_version(VAR VERSION): VERSION as four dotted numbers, into VAR.
function(four_part_version var version)
  string(REPLACE "." ";" parts "${version}")
  list(LENGTH parts count)
  if(count LESS 1 OR count GREATER 4)
    message(FATAL_ERROR "version '${version}' must have one to four numbers")
  endif()
  while(count LESS 4)
    list(APPEND parts 0)
    math(EXPR count "${count} + 1")
  endwhile()
  foreach(part IN LISTS parts)
    if(NOT part MATCHES "^[0-9]+$" OR part GREATER 65535)
      message(FATAL_ERROR "version '${version}': '${part}' is not a number from 0 to 65535")
    endif()
  endforeach()
  list(JOIN parts "." dots)
  set(${var} ${dots} PARENT_SCOPE)
endfunction()

function(write_version_resource out version description original_name file_type)
  four_part_version(VERSION_DOTS ${version})
  string(REPLACE "." "," VERSION_COMMAS ${VERSION_DOTS})
  set(VERSION_DESCRIPTION "${description}")
  set(VERSION_ORIGINAL_NAME "${original_name}")
  string(REGEX REPLACE "\\.[^.]*$" "" VERSION_INTERNAL_NAME "${original_name}")
  set(VERSION_FILE_TYPE ${file_type})
  set(VERSION_YEAR ${VERSION_COPYRIGHT_YEAR})
  configure_file(${VERSION_RESOURCE_TEMPLATE} ${out} @ONLY)
endfunction()
