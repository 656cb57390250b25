# The LZMA SDK's C sources as Debian's lzma-dev installs them. They are copied into
# the build tree so that the MinGW build never sees the host's /usr/include.
set(OVRA_LZMA_SDK_DIR /usr/include/lzma CACHE PATH "LZMA SDK C sources (Debian package lzma-dev)")
set(_ovra_lzma_files Types.h LzmaDec.h LzmaDec.c LzmaEnc.h LzmaEnc.c LzFind.h LzFind.c LzHash.h)
foreach(f IN LISTS _ovra_lzma_files)
  if(NOT EXISTS ${OVRA_LZMA_SDK_DIR}/${f})
    message(FATAL_ERROR "LZMA SDK file ${OVRA_LZMA_SDK_DIR}/${f} missing; run scripts/bootstrap.sh")
  endif()
  configure_file(${OVRA_LZMA_SDK_DIR}/${f} ${CMAKE_BINARY_DIR}/lzma-sdk/lzma/${f} COPYONLY)
endforeach()

add_library(ovra_lzma STATIC
  ${CMAKE_BINARY_DIR}/lzma-sdk/lzma/LzmaDec.c
  ${CMAKE_BINARY_DIR}/lzma-sdk/lzma/LzmaEnc.c
  ${CMAKE_BINARY_DIR}/lzma-sdk/lzma/LzFind.c)
target_compile_definitions(ovra_lzma PUBLIC _7ZIP_ST)
target_include_directories(ovra_lzma SYSTEM PUBLIC ${CMAKE_BINARY_DIR}/lzma-sdk)
set_target_properties(ovra_lzma PROPERTIES POSITION_INDEPENDENT_CODE ON)
