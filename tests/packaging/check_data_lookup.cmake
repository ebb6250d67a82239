# Runs the data-folder probe from PROGRAM_DIR (copying it there first when
# COPY is set) and checks it settles on EXPECTED and finds the files the
# program opens: help pages, the alert sound, the window, splash, about and
# toolbar pictures.
#   cmake -DPROBE=... -DPROGRAM_DIR=... -DEXPECTED=... [-DCOPY=ON] -P check_data_lookup.cmake
cmake_minimum_required(VERSION 3.25)
get_filename_component(probe_name "${PROBE}" NAME)
if(COPY)
  file(COPY "${PROBE}" DESTINATION "${PROGRAM_DIR}")
endif()
set(probe "${PROGRAM_DIR}/${probe_name}")

set(files help/index.html help/help.css sounds/alert.wav pictures/parvello.png
          pictures/splash.png pictures/about.png)
foreach(button RANGE 1 10)
  list(APPEND files pictures/toolbar/button${button}.png)
endforeach()

# From a neutral folder and without the override, so only the program's own
# location can lead it to its data.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=PARVELLO_DATA_DIR "${probe}" ${files}
                WORKING_DIRECTORY /
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REGEX REPLACE "\n.*" "" found "${out}")
file(REAL_PATH "${EXPECTED}" expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "data folder: got '${found}', expected '${expected}'\n${err}")
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "files not found below ${found}:\n${out}${err}")
endif()

# The sound must be a real WAVE file, not an empty or mangled copy.
file(READ "${expected}/sounds/alert.wav" riff LIMIT 12 HEX)
if(NOT riff MATCHES "^52494646........57415645$")
  message(FATAL_ERROR "sounds/alert.wav is not a RIFF WAVE file")
endif()
if(COPY)
  file(REMOVE "${probe}")
endif()
