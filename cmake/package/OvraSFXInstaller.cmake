# ovrasfx_add_installer(<target> SOURCE_DIR <dir> OUTPUT <file.exe> [SETUP <name>]
#   [PICTURE <file>] [ICON <file.ico>] [VERSION_INFO <KEY=VALUE>...] [BUILD_ID <id>]
#   [STUB <file>] [LC n] [LP n] [PB n] [FB n] [DICT size] [THREADS n]
#   [DEPENDS <targets or files>...])
#
# A target that packs SOURCE_DIR into OUTPUT with OvraSFX::ovrapack. The tool writes
# a depfile naming every folder and file it packed, the stub, picture and icon: the
# installer is packed again when one of them changes or a file comes or goes, and
# never otherwise. SOURCE_DIR need not exist at configure time (a staging prefix
# filled by `cmake --install` from a target in DEPENDS).
cmake_minimum_required(VERSION 3.20)

function(_ovrasfx_check_range target keyword value minimum maximum)
  if(NOT value MATCHES "^[0-9]+$" OR value LESS minimum OR value GREATER maximum)
    message(FATAL_ERROR "ovrasfx_add_installer(${target}): ${keyword} ${value} is not a number from ${minimum} to ${maximum}")
  endif()
endfunction()

function(ovrasfx_add_installer target)
  set(single SOURCE_DIR OUTPUT SETUP PICTURE ICON BUILD_ID STUB LC LP PB FB DICT THREADS)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "${single}" "VERSION_INFO;DEPENDS")
  if(arg_UNPARSED_ARGUMENTS)
    list(GET arg_UNPARSED_ARGUMENTS 0 bad)
    message(FATAL_ERROR "ovrasfx_add_installer(${target}): unknown argument \"${bad}\"")
  endif()
  foreach(keyword IN LISTS arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "ovrasfx_add_installer(${target}): ${keyword} needs a value")
  endforeach()
  foreach(keyword SOURCE_DIR OUTPUT)
    if(NOT DEFINED arg_${keyword})
      message(FATAL_ERROR "ovrasfx_add_installer(${target}): ${keyword} is missing")
    endif()
  endforeach()
  if(NOT TARGET OvraSFX::ovrapack)
    message(FATAL_ERROR "ovrasfx_add_installer(${target}): no OvraSFX::ovrapack (find_package(OvraSFX) first)")
  endif()

  cmake_path(ABSOLUTE_PATH arg_SOURCE_DIR BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
  cmake_path(ABSOLUTE_PATH arg_OUTPUT BASE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" NORMALIZE)
  set(stub "${OVRASFX_STUB}")
  if(DEFINED arg_STUB)
    set(stub "${arg_STUB}")
    cmake_path(ABSOLUTE_PATH stub BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
  endif()
  set(command "$<TARGET_FILE:OvraSFX::ovrapack>" pack "${arg_SOURCE_DIR}" --out "${arg_OUTPUT}" --stub "${stub}")
  set(inputs "${stub}")
  foreach(keyword PICTURE ICON)
    if(DEFINED arg_${keyword})
      set(file "${arg_${keyword}}")
      cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
      string(TOLOWER "${keyword}" option)
      list(APPEND command "--${option}" "${file}")
      list(APPEND inputs "${file}")
    endif()
  endforeach()
  foreach(range "LC;0;8" "LP;0;4" "PB;0;4" "FB;5;273" "THREADS;1;2")
    list(GET range 0 keyword)
    if(DEFINED arg_${keyword})
      list(GET range 1 minimum)
      list(GET range 2 maximum)
      _ovrasfx_check_range(${target} ${keyword} "${arg_${keyword}}" ${minimum} ${maximum})
      string(TOLOWER "${keyword}" option)
      list(APPEND command "--${option}" "${arg_${keyword}}")
    endif()
  endforeach()
  if(DEFINED arg_DICT)
    if(NOT arg_DICT MATCHES "^[0-9]+[kKmMgG]?$")
      message(FATAL_ERROR "ovrasfx_add_installer(${target}): DICT ${arg_DICT} is not a size (bytes, or with k, m, g)")
    endif()
    list(APPEND command --dict "${arg_DICT}")
  endif()
  foreach(keyword SETUP BUILD_ID)
    if(DEFINED arg_${keyword})
      string(TOLOWER "${keyword}" option)
      string(REPLACE "_" "-" option "${option}")
      list(APPEND command "--${option}" "${arg_${keyword}}")
    endif()
  endforeach()
  foreach(item IN LISTS arg_VERSION_INFO)
    if(NOT item MATCHES "^[A-Za-z]+=")
      message(FATAL_ERROR "ovrasfx_add_installer(${target}): VERSION_INFO \"${item}\" is not KEY=VALUE")
    endif()
    list(APPEND command --version-info "${item}")
  endforeach()

  set(depfile "${arg_OUTPUT}.d")
  add_custom_command(OUTPUT "${arg_OUTPUT}"
    COMMAND ${command} --depfile "${depfile}" --quiet
    DEPENDS ${inputs} ${arg_DEPENDS}
    DEPFILE "${depfile}"
    COMMENT "Packing the installer ${arg_OUTPUT}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS "${arg_OUTPUT}")
endfunction()
