# Each folder of the program includes only the folders at or below its own rank:
# common, platform, fanciers, entries and calculator, shell, apps. A file of one rank
# never reaches up into a window or rule of a rank above it. Tests and fuzz targets may
# include anything. Run as: cmake -DSOURCE_DIR=<root> -P include_order.cmake
set(may_include_common common)
set(may_include_platform common platform)
set(may_include_fanciers common platform fanciers)
set(may_include_entries common platform fanciers entries)
set(may_include_calculator common platform fanciers calculator)
set(may_include_shell common platform fanciers entries shell)
set(may_include_apps common platform fanciers entries calculator shell apps)
set(folders common platform fanciers entries calculator shell apps)
# No folder of the program reaches into the tests' support or the fuzz targets.
set(known_folders ${folders} tests fuzz)

set(faults "")
foreach(folder ${folders})
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" target "${line}")
      file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
      if(target MATCHES "\\.\\./")
        # A path that climbs out of the folder hides which folder it reaches.
        list(APPEND faults "${shown}: ${target} (a path through ..)")
      elseif(target MATCHES "^([a-z_]+)/")
        set(reached "${CMAKE_MATCH_1}")
        list(FIND known_folders "${reached}" known)
        list(FIND may_include_${folder} "${reached}" allowed)
        if(known GREATER -1 AND allowed EQUAL -1)
          string(REPLACE ";" ", " allowed_text "${may_include_${folder}}")
          list(APPEND faults "${shown}: ${target} (${folder} may include only ${allowed_text})")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes above the folder's rank:\n  ${text}")
endif()
message(STATUS "Every folder includes only folders at or below its rank")
