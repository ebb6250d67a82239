# Builds the Debian package as `cpack -G DEB` would and checks it: its files
# sit under /usr where the program looks for them, and its Depends names the
# package of every library the programs link against (worked out here from
# the binaries themselves) plus the Qt plug-in packages the program loads.
#   cmake -DCPACK=... -DBUILD_DIR=... -DOUT=... -DPROGRAMS=a;b -DMETAINFO=...
#         -P check_deb.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${OUT}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed (${rc}):\n${out}${err}")
endif()
file(GLOB debs "${OUT}/parvello_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one parvello_*.deb in ${OUT}, found: ${debs}")
endif()

function(deb_field field result)
  execute_process(COMMAND dpkg-deb -f "${debs}" ${field} OUTPUT_VARIABLE value
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" " " value "${value}")
  set(${result} "${value}" PARENT_SCOPE)
endfunction()
deb_field(Package package)
deb_field(Depends depends)
set(problems "")
if(NOT package STREQUAL "parvello")
  list(APPEND problems "package is named '${package}'")
endif()
# A dependency list "a (>= 1), b | c" as the bare names "a;b;c".
string(REGEX REPLACE " *\\([^)]*\\)" "" names "${depends}")
string(REGEX REPLACE " *[,|] *" ";" names "${names}")

execute_process(COMMAND dpkg-deb -c "${debs}" OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" listing "${listing}")
set(contents "")
foreach(line IN LISTS listing)
  string(REGEX REPLACE "^.* \\./" "/" path "${line}")
  string(REGEX REPLACE " -> .*$" "" path "${path}")
  list(APPEND contents "${path}")
  if(NOT path MATCHES "^/usr/" AND NOT path STREQUAL "/")
    list(APPEND problems "file outside /usr: ${path}")
  endif()
endforeach()
set(expected_files /usr/share/parvello/help/index.html /usr/share/parvello/sounds/alert.wav
    /usr/share/parvello/pictures/parvello.png /usr/share/applications/parvello.desktop
    /usr/share/metainfo/${METAINFO} /usr/share/icons/hicolor/scalable/apps/parvello.svg
    /usr/share/icons/hicolor/48x48/apps/parvello.png /usr/share/doc/parvello/copyright
    /usr/share/doc/parvello/changelog.gz)
foreach(program IN LISTS PROGRAMS)
  list(APPEND expected_files /usr/bin/${program} /usr/share/man/man1/${program}.1.gz)
endforeach()
foreach(file IN LISTS expected_files)
  list(FIND contents "${file}" at)
  if(at EQUAL -1)
    list(APPEND problems "not in the package: ${file}")
  endif()
endforeach()

# Plug-ins Qt loads by name at run time: no library dependency shows them.
foreach(plugin_package qt6-image-formats-plugins libqt6svg6)
  list(FIND names "${plugin_package}" at)
  if(at EQUAL -1)
    list(APPEND problems "Depends lacks ${plugin_package}")
  endif()
endforeach()

# Each library a packaged program names in its dynamic section, found the way
# the loader finds it, belongs to a package that must be in Depends.
set(root "${OUT}/root")
execute_process(COMMAND dpkg-deb -x "${debs}" "${root}" COMMAND_ERROR_IS_FATAL ANY)
set(checked_libraries 0)
foreach(program IN LISTS PROGRAMS)
  set(binary "${root}/usr/bin/${program}")
  execute_process(COMMAND readelf -d "${binary}" OUTPUT_VARIABLE dynamic COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ldd "${binary}" OUTPUT_VARIABLE resolved COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "\\(NEEDED\\)[^[]*\\[[^]]+\\]" needed "${dynamic}")
  string(REPLACE "\n" ";" resolved "${resolved}")
  foreach(line IN LISTS resolved)
    if(line MATCHES "^[ \t]*([^ ]+) => ([^ ]+)")
      set("path_${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}")
    elseif(line MATCHES "^[ \t]*(/[^ ]+) \\(")
      # The dynamic loader is listed by its path alone.
      get_filename_component(name "${CMAKE_MATCH_1}" NAME)
      set("path_${name}" "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  foreach(entry IN LISTS needed)
    string(REGEX REPLACE ".*\\[(.+)\\]" "\\1" soname "${entry}")
    set(path "${path_${soname}}")
    if(NOT path)
      list(APPEND problems "${program}: ${soname} does not resolve")
      continue()
    endif()
    # With the merged /usr a library may be owned under /lib or /usr/lib.
    string(REGEX REPLACE "^/usr/lib/" "/lib/" other "${path}")
    if(other STREQUAL path)
      string(REGEX REPLACE "^/lib/" "/usr/lib/" other "${path}")
    endif()
    execute_process(COMMAND dpkg-query -S "${path}" RESULT_VARIABLE rc OUTPUT_VARIABLE owner
                    ERROR_QUIET)
    if(NOT rc EQUAL 0)
      execute_process(COMMAND dpkg-query -S "${other}" RESULT_VARIABLE rc OUTPUT_VARIABLE owner
                      ERROR_QUIET)
    endif()
    if(NOT rc EQUAL 0)
      list(APPEND problems "${program}: no package owns ${path}")
      continue()
    endif()
    string(REGEX REPLACE "[:,].*" "" owner "${owner}")
    list(FIND names "${owner}" at)
    if(at EQUAL -1)
      list(APPEND problems "${program} links ${soname} from ${owner}, not in Depends")
    endif()
    math(EXPR checked_libraries "${checked_libraries} + 1")
  endforeach()
endforeach()
if(checked_libraries EQUAL 0)
  list(APPEND problems "no linked library found in the packaged programs")
endif()
# Worked out by dpkg-shlibdeps, the entries carry the versions the build needs.
if(NOT depends MATCHES "libqt6core6 \\(>= 6")
  list(APPEND problems "Depends carries no computed Qt version: ${depends}")
endif()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Debian package ${debs}:\n  ${text}\nDepends: ${depends}")
endif()
