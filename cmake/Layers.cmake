# The code is one stack of layers, each folder a static library that links only the layers
# below it. qm_add_layer also checks, at build time, that no file of the folder includes a
# header of a layer above (an include would compile through the shared include root).
set(QM_LAYER_FOLDERS host registry backup controls launch app cli)

function(qm_add_layer target folder)
  cmake_parse_arguments(LAYER "" "" "BELOW;SYSTEM_LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${LAYER_BELOW} ${LAYER_SYSTEM_LIBS})

  # Its own folder and every folder below it, through the layers it links.
  set(allowed ${folder})
  foreach(below IN LISTS LAYER_BELOW)
    get_target_property(below_allowed ${below} QM_ALLOWED_FOLDERS)
    list(APPEND allowed ${below_allowed})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_target_properties(${target} PROPERTIES QM_ALLOWED_FOLDERS "${allowed}")

  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.layer-checked)
  string(REPLACE ";" "," allowed_arg "${allowed}")
  string(REPLACE ";" "," layers_arg "${QM_LAYER_FOLDERS}")
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DALLOWED=${allowed_arg} -DLAYERS=${layers_arg}
      -DROOT=${CMAKE_SOURCE_DIR} -DSTAMP=${stamp} -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
    DEPENDS ${sources} ${CMAKE_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
    COMMENT "Checking that ${folder}/ includes only its own and lower layers")
  add_custom_target(${target}_layer_check DEPENDS ${stamp})
  add_dependencies(${target} ${target}_layer_check)
endfunction()
