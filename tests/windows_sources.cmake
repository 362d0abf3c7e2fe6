# Compiles every source file of the programs for Windows, syntax only, with
# the MinGW cross compiler against Qt's headers and the Windows build's
# definitions, and the version resource script with windres; fails when any
# file does not compile. Generated files (moc, rcc, the embedded version
# block of the other platforms) and the sources marked as not for Windows are
# left out. Run with -DINPUTS=<folder of per-target scripts> -DCXX=... -DWINDRES=...
# -DRESOURCE_SCRIPT=... -DBINARY_DIR=... -DWORK_DIR=...
cmake_minimum_required(VERSION 3.25)

# What Qt's win32-g++ platform defines for every Windows build (_WIN32 and
# the compiler's own come from the compiler, Q_OS_WIN follows from them).
set(windows_definitions UNICODE _UNICODE WIN32 WIN64 MINGW_HAS_SECURE_API=1)

file(GLOB target_scripts ${INPUTS}/*.cmake)
set(checked "")
set(failed "")
foreach(target_script IN LISTS target_scripts)
  include(${target_script})
  set(files ${windows_sources})
  foreach(source IN LISTS sources)
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${target_source_dir}/${source}")
    endif()
    cmake_path(NORMAL_PATH source)
    cmake_path(IS_PREFIX BINARY_DIR "${source}" generated)
    if(source MATCHES "\\.cpp$" AND NOT generated AND NOT source IN_LIST elsewhere_sources)
      list(APPEND files ${source})
    endif()
  endforeach()

  set(flags -std=c++20 -fsyntax-only -I${target_autogen_include})
  foreach(folder IN LISTS includes)
    if(folder STREQUAL "/usr/include") # the host's C library, not MinGW's
      continue()
    endif()
    string(REPLACE "/mkspecs/linux-g++" "/mkspecs/win32-g++" folder "${folder}")
    list(APPEND flags -I${folder})
  endforeach()
  foreach(definition IN LISTS definitions windows_definitions)
    if(definition)
      list(APPEND flags -D${definition})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES flags)

  list(REMOVE_ITEM files ${checked})
  list(REMOVE_DUPLICATES files)
  list(APPEND checked ${files})
  # Two files at a time: execute_process runs its commands side by side.
  while(files)
    unset(second)
    list(POP_FRONT files first second)
    set(commands COMMAND ${CXX} ${flags} ${first})
    if(second)
      list(APPEND commands COMMAND ${CXX} ${flags} ${second})
    endif()
    execute_process(${commands} RESULTS_VARIABLE results ERROR_VARIABLE errors)
    set(batch ${first} ${second})
    foreach(file result IN ZIP_LISTS batch results)
      if(file AND NOT result EQUAL 0)
        list(APPEND failed ${file})
      endif()
    endforeach()
    if(errors)
      message("${errors}")
    endif()
  endwhile()
endforeach()

file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${WINDRES} -o ${WORK_DIR}/version_info.o -- ${RESOURCE_SCRIPT}
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  list(APPEND failed ${RESOURCE_SCRIPT})
  message("${errors}")
endif()

list(LENGTH checked count)
message("Compiled for Windows: ${count} source files and the resource script")
if(failed)
  list(JOIN failed "\n  " failed_lines)
  message(FATAL_ERROR "Not compiling for Windows:\n  ${failed_lines}")
endif()
