# The same sources for 64-bit Windows: the test vehicle on hosts whose kernel cannot
# run 32-bit code, where only 64-bit Wine starts.
set(OVRA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
