# Header-only libraries as Debian installs them (libcli11-dev, nlohmann-json3-dev,
# libstb-dev). Their folders are copied into the build tree so that the MinGW builds,
# which also build the packaging tool, never see the host's /usr/include.
set(OVRA_SYSTEM_INCLUDE_DIR /usr/include CACHE PATH "Where Debian's header-only libraries are installed")
set(_ovra_header_root ${CMAKE_BINARY_DIR}/header-libraries)

function(_ovra_copy_headers folder probe)
  if(NOT EXISTS ${OVRA_SYSTEM_INCLUDE_DIR}/${folder}/${probe})
    message(FATAL_ERROR "${OVRA_SYSTEM_INCLUDE_DIR}/${folder}/${probe} missing; run scripts/bootstrap.sh")
  endif()
  file(COPY ${OVRA_SYSTEM_INCLUDE_DIR}/${folder} DESTINATION ${_ovra_header_root})
endfunction()

_ovra_copy_headers(CLI CLI.hpp)
_ovra_copy_headers(nlohmann json.hpp)
_ovra_copy_headers(stb stb_image.h)

add_library(ovra_cli11 INTERFACE)
target_include_directories(ovra_cli11 SYSTEM INTERFACE ${_ovra_header_root})
add_library(ovra_json INTERFACE)
target_include_directories(ovra_json SYSTEM INTERFACE ${_ovra_header_root})
add_library(ovra_stb INTERFACE)
target_include_directories(ovra_stb SYSTEM INTERFACE ${_ovra_header_root})
