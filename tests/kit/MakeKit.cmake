# Writes LumoraWindowsTests.zip; the target windows_test_kit runs it.
#   cmake -DSOURCE=tests/kit -DUNIT_BIN=<bin> -DUNIT_LIST=<tests.txt> [-DUNIT_FILES=<files>]
#         -DE2E_BIN=<bin> -DE2E_LIST=<tests.txt> -DTOOL=<lumora_kit.exe>
#         -DSTAGE=<folder> -DZIP=<zip> [-DSTRIP=<strip>] -P MakeKit.cmake
#
# The kit folder holds:
#   run-tests.cmd, README.txt, lumora_kit.exe
#   unit\  the shipped build's Windows test executables and what lies beside
#          them in its bin\ (Lumora.exe, LumoraUpdate.exe, the help file, the
#          licence, the probes and stand-ins the tests start)
#   e2e\   the test build's end-to-end tests, its Lumora.exe and recorders
#   tests\ what a unit test finds beside the bin\ folder (the tests' setup)
# Each of unit\ and e2e\ has a tests.txt: "<test> <seconds>" a line. The
# kit's copies of the test executables lose their symbol tables, nearly half
# of their size; the programs under test are copied as they are built.

foreach(required SOURCE UNIT_BIN UNIT_LIST E2E_BIN E2E_LIST TOOL STAGE ZIP)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "MakeKit.cmake: ${required} is not set")
  endif()
endforeach()
if(NOT EXISTS ${E2E_LIST})
  message(FATAL_ERROR "No end-to-end tests at ${E2E_LIST}: configure the 32-bit test build there "
                      "(LUMORA_TEST_BUILD=ON, update host 127.0.0.1), or name it with "
                      "-DLUMORA_KIT_TESTBUILD=<folder>")
endif()

# A text file with Windows line ends, which Notepad and cmd.exe of every
# version read alike.
function(write_windows_text from to)
  file(READ ${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${to} "${text}")
endfunction()

# Copies a bin\ folder's programs, libraries and documents, less the
# benchmarks (they print figures, they test nothing) and the shipped setup.
function(copy_bin from to list)
  file(MAKE_DIRECTORY ${to})
  file(GLOB files ${from}/*.exe ${from}/*.dll ${from}/*.chm ${from}/*.rtf)
  list(FILTER files EXCLUDE REGEX "(_benchmark|startup_floor_window|/LumoraSetup)\\.exe$")
  file(COPY ${files} DESTINATION ${to})
  write_windows_text(${list} ${to}/tests.txt)
  file(STRINGS ${list} tests)
  foreach(test ${tests})
    string(REGEX REPLACE " .*$" "" name "${test}")
    if(NOT EXISTS ${to}/${name}.exe)
      message(FATAL_ERROR "MakeKit.cmake: ${from}/${name}.exe was not built")
    endif()
    if(STRIP)
      execute_process(COMMAND ${STRIP} ${to}/${name}.exe RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR "MakeKit.cmake: could not strip ${to}/${name}.exe")
      endif()
    endif()
  endforeach()
endfunction()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
copy_bin(${UNIT_BIN} ${STAGE}/unit ${UNIT_LIST})
copy_bin(${E2E_BIN} ${STAGE}/e2e ${E2E_LIST})
foreach(file ${UNIT_FILES})
  file(RELATIVE_PATH where ${UNIT_BIN} ${file})
  get_filename_component(folder ${STAGE}/unit/${where} DIRECTORY)
  file(COPY ${file} DESTINATION ${folder})
endforeach()
file(COPY ${TOOL} DESTINATION ${STAGE})
write_windows_text(${SOURCE}/run-tests.cmd ${STAGE}/run-tests.cmd)
write_windows_text(${SOURCE}/README.txt ${STAGE}/README.txt)

get_filename_component(parent ${STAGE} DIRECTORY)
get_filename_component(name ${STAGE} NAME)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${name}
                WORKING_DIRECTORY ${parent} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "MakeKit.cmake: could not write ${ZIP}")
endif()
