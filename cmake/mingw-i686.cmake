# Cross build of the shipping stub: 32-bit Windows with MinGW-w64.
set(OVRA_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
