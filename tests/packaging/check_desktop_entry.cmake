# The installed menu entry: valid by desktop-file-validate (hints allowed,
# no warnings or errors), in the categories we mean, starting a program that
# is installed, with an icon that is installed, and listing the MIME type of
# every picture file the browser opens.
#   cmake -DPREFIX=... -P check_desktop_entry.cmake
cmake_minimum_required(VERSION 3.25)
set(entry "${PREFIX}/share/applications/parvello.desktop")
execute_process(COMMAND desktop-file-validate "${entry}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR out MATCHES "(error|warning):" OR err MATCHES "(error|warning):")
  message(FATAL_ERROR "desktop-file-validate (${rc}):\n${out}${err}")
endif()

set(problems "")
# Read by hand: file(STRINGS) would split the lines at their semicolons.
file(READ "${entry}" content)
string(REPLACE ";" "<semicolon>" content "${content}")
string(REPLACE "\n" ";" lines "${content}")
foreach(line IN LISTS lines)
  if(line MATCHES "^([A-Za-z]+)=(.*)$")
    string(REPLACE "<semicolon>" ";" value "${CMAKE_MATCH_2}")
    set(key_${CMAKE_MATCH_1} "${value}")
  endif()
endforeach()

# The values are ';'-separated, which makes them CMake lists as they stand.
foreach(category Graphics Photography Printing)
  list(FIND key_Categories "${category}" at)
  if(at EQUAL -1)
    list(APPEND problems "category ${category} missing from Categories")
  endif()
endforeach()

string(REGEX REPLACE " .*" "" command "${key_Exec}")
if(NOT EXISTS "${PREFIX}/bin/${command}")
  list(APPEND problems "Exec names '${command}', not installed in bin/")
endif()
if(NOT EXISTS "${PREFIX}/share/icons/hicolor/48x48/apps/${key_Icon}.png"
   OR NOT EXISTS "${PREFIX}/share/icons/hicolor/scalable/apps/${key_Icon}.svg")
  list(APPEND problems "Icon '${key_Icon}' is not installed in the hicolor theme")
endif()

# The browser opens *.GIF;*.JPG;*.JPEG;*.BMP;*.ICO;*.WMF;*.PNG;*.TIF;*.TIFF;
# *.WEBP;*.HEIC;*.HEIF;*.AVIF and the camera raw files *.DNG;*.CR2;*.CR3;
# *.NEF;*.ARW;*.ORF;*.RAF;*.RW2. Whatever MIME type the desktop's
# shared-mime-info gives each of those names must be listed, or file managers
# will not offer Parvello for them.
set(globs /usr/share/mime/globs2)
if(NOT EXISTS "${globs}")
  message(FATAL_ERROR "${globs} missing: shared-mime-info is not installed")
endif()
file(STRINGS "${globs}" glob_lines)
foreach(ext gif jpg jpeg bmp ico wmf png tif tiff webp heic heif avif dng cr2 cr3 nef arw orf
            raf rw2)
  set(types "")
  foreach(glob IN LISTS glob_lines)
    if(glob MATCHES "^[0-9]+:([^:]+):\\*\\.${ext}(:.*)?$")
      list(APPEND types "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(NOT types)
    list(APPEND problems "shared-mime-info knows no type for *.${ext}")
  endif()
  foreach(type IN LISTS types)
    list(FIND key_MimeType "${type}" at)
    if(at EQUAL -1)
      list(APPEND problems "*.${ext} is ${type}, not in MimeType")
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "desktop entry:\n  ${text}")
endif()
