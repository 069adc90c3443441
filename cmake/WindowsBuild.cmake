# The Windows build: the parts ported so far, the same sources as on Linux.
# The window (ZORVApp.exe) only when a Qt for Windows is given
# (ZORV_WINDOWS_QT_PREFIX, what scripts/build-qt-windows prints); not here:
# the virtual devices (see the README's Windows section).
# localtime_r and the like from MinGW's C library; the system headers without
# their min/max macros.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)

set(ZORV_WINDOWS_QT_PREFIX "" CACHE PATH "Qt for Windows (scripts/build-qt-windows): builds the window")
set(ZORV_WINDOW OFF)
if(ZORV_WINDOWS_QT_PREFIX)
    # Qt's packages are looked up inside the find roots only (the toolchain's
    # rule); the host's moc, uic and rcc are Debian's.
    list(APPEND CMAKE_FIND_ROOT_PATH ${ZORV_WINDOWS_QT_PREFIX})
    list(APPEND CMAKE_PREFIX_PATH ${ZORV_WINDOWS_QT_PREFIX})
    set(QT_HOST_PATH /usr CACHE PATH "")
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    set(ZORV_WINDOW ON)
endif()

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
# The device listing (COM ports, installed OPOS) and what OPOS the machine
# has installed, for zorv-vbs --list-devices and --components.
add_subdirectory(src/hardware/discovery)
if(ZORV_WINDOW)
    # The control host, the property pages' logic and the window itself.
    add_subdirectory(src/devices)
    add_subdirectory(src/views)
    add_subdirectory(src/app)
    include(cmake/WindowsQtDeployment.cmake)
endif()
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
