# Configures a test build (LUMORA_TEST_BUILD) of the program in a scratch
# folder and fails unless it configures, says why it has no installer, and
# offers no "installer" target.
#   cmake -DSOURCE_DIR=<source> -DSCRATCH_DIR=<folder> -DTOOLCHAIN=<file>
#         -P TestBuildOffersNoInstaller.cmake
file(REMOVE_RECURSE ${SCRATCH_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${SCRATCH_DIR} -G "Unix Makefiles"
          -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=Release
          -DLUMORA_TEST_BUILD=ON -DLUMORA_UPDATE_HOST=127.0.0.1 -DLUMORA_UPDATE_PORT=18473
          -DLUMORA_BUILD_TESTS=OFF -DLUMORA_HELP=OFF
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the test build does not configure:\n${output}")
endif()
if(NOT output MATCHES "no installer target, a test build is never shipped")
  message(FATAL_ERROR "the test build does not say why it has no installer:\n${output}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${SCRATCH_DIR} --target help
                OUTPUT_VARIABLE targets)
file(REMOVE_RECURSE ${SCRATCH_DIR})
if(targets MATCHES "\\.\\.\\. installer\n")
  message(FATAL_ERROR "the test build offers an installer target")
endif()
