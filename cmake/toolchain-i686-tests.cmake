# 32-bit build of the test suite (build/i686-tests): GoogleTest needs the posix
# thread model, which the shipped setup.exe leaves out on purpose, so the tests
# get a build of their own and their end-to-end tests drive the shipped
# build/i686/setup.exe. The programs run on emulated Windows, the kind named
# by TAVRIN_EMULATED_WINDOWS (win64 or win32) in ctest's environment.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686.cmake)
set(CMAKE_C_COMPILER ${TOOL_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOL_PREFIX}-g++-posix)
get_filename_component(TAVRIN_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/emulated-windows.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVRIN_EMULATOR} run)
set(TAVRIN_I686_TESTS ON)
