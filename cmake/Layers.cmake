# The layers of the sources: the core needs no window, and the window
# folders include each other in one direction only. The rule itself is
# cmake/CheckLayers.cmake, which reads the sources as they are: it runs in
# every build where a source changed (target `layers`) and as the test
# `layers`; the test `layers_refuses_forbidden_includes` runs it on a small
# tree of forbidden includes, which it must refuse by name.
set(_check_layers ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake)
file(GLOB_RECURSE _layered_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/core/*.h ${CMAKE_SOURCE_DIR}/src/core/*.cpp
  ${CMAKE_SOURCE_DIR}/src/ui/*.h ${CMAKE_SOURCE_DIR}/src/ui/*.cpp)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/layers.checked
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/src -P ${_check_layers}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/layers.checked
  DEPENDS ${_check_layers} ${_layered_sources}
  COMMENT "Checking the includes between the layers"
  VERBATIM)
add_custom_target(layers ALL DEPENDS ${CMAKE_BINARY_DIR}/layers.checked)

add_test(NAME layers
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/src -P ${_check_layers})
add_test(NAME layers_refuses_forbidden_includes
  COMMAND ${CMAKE_COMMAND} -DCHECK=${_check_layers}
          -DTREE=${CMAKE_SOURCE_DIR}/tests/layers/forbidden/src
          -P ${CMAKE_SOURCE_DIR}/tests/layers/expect_refusal.cmake)

# What the core links is fixed when the build is configured: never Widgets,
# printing or the windows.
get_target_property(_core_links vetrinora_core LINK_LIBRARIES)
foreach(_lib IN LISTS _core_links)
  if(_lib MATCHES "Widgets|PrintSupport|vetrinora_ui")
    message(FATAL_ERROR "vetrinora_core must not link ${_lib}")
  endif()
endforeach()
