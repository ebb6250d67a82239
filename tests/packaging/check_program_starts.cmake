# Starts the installed program headless with a scratch home and checks it
# is still running after a few seconds: splash, main window and settings
# come up from the installed files without a crash or an early exit.
#   cmake -DPREFIX=... -DSCRATCH=... -P check_program_starts.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}/config" "${SCRATCH}/cache" "${SCRATCH}/runtime")
file(CHMOD "${SCRATCH}/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env --unset=PARVELLO_DATA_DIR QT_QPA_PLATFORM=offscreen
          HOME=${SCRATCH} XDG_CONFIG_HOME=${SCRATCH}/config XDG_CACHE_HOME=${SCRATCH}/cache
          XDG_RUNTIME_DIR=${SCRATCH}/runtime "${PREFIX}/bin/parvello"
  WORKING_DIRECTORY "${SCRATCH}"
  TIMEOUT 6
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc MATCHES "timeout")
  message(FATAL_ERROR "parvello ended by itself (${rc}) instead of running:\n${out}${err}")
endif()
