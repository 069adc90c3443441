# The Windows build: the parts ported so far, the same sources as on Linux.
# Not here yet: the window (Qt for Windows), the virtual devices and the
# Linux device listing (see the README's Windows section).
# localtime_r and the like from MinGW's C library; the system headers without
# their min/max macros.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)

add_subdirectory(src/platform/com)
add_subdirectory(src/platform/ui)
add_subdirectory(src/outside)
add_subdirectory(src/script)
add_subdirectory(src/script/wscript)
foreach(component vbscript registry opos)
    add_subdirectory(components/${component})
endforeach()
# The standard script objects (Scripting.*, WScript.Shell).
add_subdirectory(components/scripting)
# What OPOS the machine has installed, for zorv-vbs --components.
add_subdirectory(src/hardware/discovery/installed)
add_subdirectory(tools)

if(ZORV_BUILD_TESTS)
    enable_testing()
    # GoogleTest built from Debian's source package with the cross compiler.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    include(GoogleTest)
    add_subdirectory(tests)
endif()
