# Cross build for Windows with Debian's MinGW-w64 (x86_64, POSIX threads).
# Tests run through Wine: add_test commands naming our executables get it as
# their emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZORV_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
