cmake_minimum_required(VERSION 3.20)

# Fails when product code includes a header of a folder it may not reach:
# every include arrow between folders points down.
#
#   cmake -DSOURCE_DIR=<tree> -P IncludeLayers.cmake
#
# Only "folder/..." includes that name a top folder of the tree count; an
# include within the own folder and system headers are always allowed.

# The allowed arrows, folder by folder; a folder not listed may include
# nothing outside itself.
set(allowed_app ui tuning registry platform common resources)
set(allowed_updater ui platform registry common resources)
set(allowed_ui registry platform common resources)
set(allowed_tuning registry common)
set(allowed_registry common)
set(allowed_platform common)
set(allowed_common)

set(product app ui tuning registry platform common updater)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(faults)
set(arrows)
foreach(folder IN LISTS product)
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder})
    continue()
  endif()
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.cpp
       ${SOURCE_DIR}/${folder}/*.h)
  foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      if(NOT line MATCHES "\"([^\"/]+)/[^\"]*\"")
        continue()
      endif()
      set(target ${CMAKE_MATCH_1})
      if(target STREQUAL folder OR NOT IS_DIRECTORY ${SOURCE_DIR}/${target})
        continue()
      endif()
      list(APPEND arrows "${folder} -> ${target}")
      if(NOT target IN_LIST allowed_${folder})
        list(APPEND faults "${source}: ${folder}/ may not include ${target}/: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

# The caption text code (ui/text/) stands apart from the windows and the
# registry, so that the updater links it alone of ui/: it includes only
# itself and common/, and the updater reaches no other header of ui/.
foreach(room ui/text updater)
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/${room})
    continue()
  endif()
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${room}/*.cpp
       ${SOURCE_DIR}/${room}/*.h)
  foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"ui/")
    foreach(line IN LISTS includes)
      if(NOT line MATCHES "\"ui/text/[^\"]*\"")
        list(APPEND faults "${source}: ${room}/ may include from ui/ only ui/text/: ${line}")
      endif()
    endforeach()
    if(room STREQUAL "ui/text")
      file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"(registry|platform)/")
      foreach(line IN LISTS includes)
        list(APPEND faults "${source}: ui/text/ may not include registry/ or platform/: ${line}")
      endforeach()
    endif()
  endforeach()
endforeach()

# The window framework (ui/framework/) is a library of its own beneath the
# program's windows: it builds on the caption interface (ui/text/) and
# common/ alone, and includes nothing of the rest of ui/ or of the folders
# above or beside it.
set(room ui/framework)
if(IS_DIRECTORY ${SOURCE_DIR}/${room})
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${room}/*.cpp
       ${SOURCE_DIR}/${room}/*.h)
  foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      if(NOT line MATCHES "\"([^\"/]+)/[^\"]*\"")
        continue()
      endif()
      set(target ${CMAKE_MATCH_1})
      if(NOT IS_DIRECTORY ${SOURCE_DIR}/${target} OR target STREQUAL "common")
        continue()
      endif()
      if(NOT line MATCHES "\"ui/(framework|text)/[^\"]*\"")
        list(APPEND faults
             "${source}: ui/framework/ may include only ui/framework/, ui/text/ and common/: ${line}")
      endif()
    endforeach()
  endforeach()
endif()

list(REMOVE_DUPLICATES arrows)
list(SORT arrows)
foreach(arrow IN LISTS arrows)
  message(STATUS "${arrow}")
endforeach()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Include arrows that do not point down:\n${text}")
endif()
