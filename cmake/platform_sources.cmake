# Sources that differ between Windows and the other platforms, and the
# collection of every target's sources for the Windows compile check
# (tests/windows_sources.cmake).

# Adds the WINDOWS sources on Windows and the ELSEWHERE sources elsewhere, and
# records both so that the Windows check reads the Windows set on any host.
function(kv36_platform_sources target)
  cmake_parse_arguments(ARG "" "" "WINDOWS;ELSEWHERE" ${ARGN})
  if(WIN32)
    target_sources(${target} PRIVATE ${ARG_WINDOWS})
  else()
    target_sources(${target} PRIVATE ${ARG_ELSEWHERE})
  endif()
  list(TRANSFORM ARG_WINDOWS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  list(TRANSFORM ARG_ELSEWHERE PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  set_target_properties(${target} PROPERTIES
    KV36_WINDOWS_SOURCES "${ARG_WINDOWS}" KV36_ELSEWHERE_SOURCES "${ARG_ELSEWHERE}")
endfunction()

# The project's own targets that `target` links, itself included.
function(kv36_linked_targets target result)
  set(found ${${result}})
  if(NOT TARGET ${target} OR ${target} IN_LIST found)
    return()
  endif()
  get_target_property(imported ${target} IMPORTED)
  if(imported)
    return()
  endif()
  list(APPEND found ${target})
  get_target_property(libraries ${target} LINK_LIBRARIES)
  foreach(library IN LISTS libraries)
    if(library)
      kv36_linked_targets(${library} found)
    endif()
  endforeach()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

# Writes, for every target the given programs are built from, a script that
# sets its sources, include folders and definitions; returns their folder.
function(kv36_write_windows_check_inputs folder)
  set(targets "")
  foreach(program IN LISTS ARGN)
    kv36_linked_targets(${program} targets)
  endforeach()
  foreach(target IN LISTS targets)
    get_target_property(source_dir ${target} SOURCE_DIR)
    get_target_property(binary_dir ${target} BINARY_DIR)
    file(GENERATE OUTPUT ${folder}/${target}.cmake CONTENT
"set(target_source_dir [==[${source_dir}]==])
set(target_autogen_include [==[${binary_dir}/${target}_autogen/include]==])
set(sources [==[$<TARGET_PROPERTY:${target},SOURCES>]==])
set(windows_sources [==[$<TARGET_PROPERTY:${target},KV36_WINDOWS_SOURCES>]==])
set(elsewhere_sources [==[$<TARGET_PROPERTY:${target},KV36_ELSEWHERE_SOURCES>]==])
set(includes [==[$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>]==])
set(definitions [==[$<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>]==])
")
  endforeach()
endfunction()
