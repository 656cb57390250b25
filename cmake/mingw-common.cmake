set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${OVRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OVRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${OVRA_MINGW_PREFIX}-windres)
# The stub starts its threads through Win32 and is linked by the Win32 thread model's
# driver, whose runtime needs no POSIX threads library; tests and tools keep the POSIX
# model for std::thread.
set(OVRA_STUB_CXX_LINKER ${OVRA_MINGW_PREFIX}-g++-win32)

set(CMAKE_FIND_ROOT_PATH /usr/${OVRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every MinGW-built program (tests included) runs through the Wine bench, which keeps
# its own prefix under the build folder and never maps the host's root.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/winebench.sh)
