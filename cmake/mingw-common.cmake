set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${OVRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OVRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${OVRA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OVRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every MinGW-built program (tests included) runs through the Wine bench, which keeps
# its own prefix under the build folder and never maps the host's root.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/winebench.sh)
