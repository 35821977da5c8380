# 32-bit build: the shipped setup.exe, for Windows XP and later. The win32
# thread model keeps winpthread (and its newer imports) out of the image.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOL_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TOOL_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOL_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TOOL_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOL_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
