# What both MinGW-w64 toolchains share; ZORV_MINGW_TRIPLET names the target.
set(CMAKE_C_COMPILER ${ZORV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZORV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZORV_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZORV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libstdc++ linked in; libgcc and winpthread too where the
# system unwinds exceptions (64-bit); the 32-bit compiler's DWARF unwinder
# only finds the frames of the module it sits in, so an exception thrown in
# one of our DLLs and caught in another would end the program: there, all
# share libgcc_s_dw2-1.dll and libwinpthread-1.dll (found through WINEPATH).
# A library does not export what it took from the static libraries, or each
# user of it would see two copies.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(zorv_runtime "-static-libstdc++ -shared-libgcc")
else()
    set(zorv_runtime "-static")
endif()
set(CMAKE_EXE_LINKER_FLAGS_INIT "${zorv_runtime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${zorv_runtime} -Wl,--exclude-libs,ALL")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${zorv_runtime} -Wl,--exclude-libs,ALL")

find_program(ZORV_WINE wine)
if(ZORV_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZORV_WINE})
endif()
