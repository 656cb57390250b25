# The LZMA SDK's decoder as Debian's lzma-dev installs it: the stub's reading of the
# payload. Copied into the build tree so that the MinGW build never sees the host's
# /usr/include.
set(OVRA_LZMA_SDK_DIR /usr/include/lzma CACHE PATH "LZMA SDK C sources (Debian package lzma-dev)")
set(_ovra_lzma_files Types.h LzmaDec.h LzmaDec.c)
foreach(f IN LISTS _ovra_lzma_files)
  if(NOT EXISTS ${OVRA_LZMA_SDK_DIR}/${f})
    message(FATAL_ERROR "LZMA SDK file ${OVRA_LZMA_SDK_DIR}/${f} missing; run scripts/bootstrap.sh")
  endif()
  configure_file(${OVRA_LZMA_SDK_DIR}/${f} ${CMAKE_BINARY_DIR}/lzma-sdk/lzma/${f} COPYONLY)
endforeach()

add_library(ovra_lzma STATIC ${CMAKE_BINARY_DIR}/lzma-sdk/lzma/LzmaDec.c)
target_compile_definitions(ovra_lzma PUBLIC _7ZIP_ST)
if(WIN32)
  # No exception passes through the decoder (its allocator is malloc), so the stub
  # carries no unwind tables for it.
  target_compile_options(ovra_lzma PRIVATE -fno-asynchronous-unwind-tables)
endif()
target_include_directories(ovra_lzma SYSTEM PUBLIC ${CMAKE_BINARY_DIR}/lzma-sdk)
set_target_properties(ovra_lzma PROPERTIES POSITION_INDEPENDENT_CODE ON)

# The encoder, with the match finder that can run in a thread of its own, from
# Debian's 7zip source package (fetched by scripts/bootstrap.sh, never committed).
# Its headers carry their own base types, so they are included as <lzmamt/...> and
# never in a file that includes the decoder's.
set(OVRA_LZMA_MT_DIR ${CMAKE_SOURCE_DIR}/third-party/lzma-mt CACHE PATH
    "LZMA SDK encoder sources (Debian source package 7zip)")
set(_ovra_lzma_mt_files LzmaEnc.c LzmaEnc.h LzFind.c LzFind.h LzFindMt.c LzFindMt.h LzFindOpt.c LzHash.h
    Threads.c Threads.h CpuArch.c CpuArch.h Compiler.h Precomp.h 7zTypes.h 7zWindows.h)
set(_ovra_lzma_mt_sources)
foreach(f IN LISTS _ovra_lzma_mt_files)
  if(NOT EXISTS ${OVRA_LZMA_MT_DIR}/${f})
    message(FATAL_ERROR "LZMA encoder file ${OVRA_LZMA_MT_DIR}/${f} missing; run scripts/bootstrap.sh")
  endif()
  configure_file(${OVRA_LZMA_MT_DIR}/${f} ${CMAKE_BINARY_DIR}/lzma-mt/lzmamt/${f} COPYONLY)
  if(f MATCHES "\\.c$")
    list(APPEND _ovra_lzma_mt_sources ${CMAKE_BINARY_DIR}/lzma-mt/lzmamt/${f})
  endif()
endforeach()

find_package(Threads REQUIRED)
add_library(ovra_lzma_encoder STATIC ${_ovra_lzma_mt_sources})
target_include_directories(ovra_lzma_encoder SYSTEM PUBLIC ${CMAKE_BINARY_DIR}/lzma-mt)
target_link_libraries(ovra_lzma_encoder PUBLIC Threads::Threads)
set_target_properties(ovra_lzma_encoder PROPERTIES POSITION_INDEPENDENT_CODE ON)
