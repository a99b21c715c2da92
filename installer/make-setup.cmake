# Builds a setup program from Lumora.nsi with makensis; the build runs it as
#   cmake -DMAKENSIS=<makensis> -DPRODUCT=<Product.nsh> -DFILES=<folder>
#         -DOUTPUT=<file> [-DPLACEHOLDERS=ON] -P make-setup.cmake
# FILES must hold the four files the setup installs. With PLACEHOLDERS (the
# tests' setup only), a missing Lumora.chm or License.rtf is replaced by a
# stand-in in a staging folder next to OUTPUT.
cmake_minimum_required(VERSION 3.20)
set(files Lumora.exe LumoraUpdate.exe Lumora.chm License.rtf)

if(PLACEHOLDERS)
  get_filename_component(stage "${OUTPUT}" DIRECTORY)
  set(stage "${stage}/setup-files")
  file(REMOVE_RECURSE "${stage}")
  file(MAKE_DIRECTORY "${stage}")
  foreach(name IN LISTS files)
    if(EXISTS "${FILES}/${name}")
      file(COPY "${FILES}/${name}" DESTINATION "${stage}")
    elseif(name STREQUAL "License.rtf")
      message(STATUS "installer: no ${FILES}/${name}; a stand-in licence for the tests")
      file(WRITE "${stage}/${name}" "{\\rtf1\\ansi Stand-in licence of the tests' setup.\\par}\n")
    elseif(name STREQUAL "Lumora.chm")
      message(STATUS "installer: no ${FILES}/${name}; a stand-in help file for the tests")
      file(WRITE "${stage}/${name}" "stand-in help file of the tests' setup\n")
    endif()
  endforeach()
  set(FILES "${stage}")
endif()

foreach(name IN LISTS files)
  if(NOT EXISTS "${FILES}/${name}")
    message(FATAL_ERROR "installer: ${FILES}/${name} is missing; the setup installs "
                        "Lumora.exe, LumoraUpdate.exe, Lumora.chm and License.rtf from that folder")
  endif()
endforeach()

get_filename_component(here "${CMAKE_SCRIPT_MODE_FILE}" DIRECTORY)
execute_process(
  COMMAND "${MAKENSIS}" -V2 -NOCD
          "-DLUMORA_PRODUCT=${PRODUCT}" "-DLUMORA_FILES=${FILES}" "-DLUMORA_OUTPUT=${OUTPUT}"
          "${here}/Lumora.nsi"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "installer: makensis failed (${status})")
endif()
