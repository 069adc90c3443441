# The Windows build: the parts ported so far, the same sources as on Linux.
# The window (ZORVApp.exe) only when a Qt for Windows is given
# (ZORV_WINDOWS_QT_PREFIX, what scripts/build-qt-windows prints); not here:
# the virtual devices (see the README's Windows section).
# localtime_r and the like from MinGW's C library; the system headers without
# their min/max macros.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)

set(ZORV_WINDOWS_QT_PREFIX "" CACHE PATH "Qt for Windows (scripts/build-qt-windows): builds the window")
set(ZORV_WINDOW OFF)
# The cross compiler's own root, before Qt's joins the find roots.
set(zorv_mingw_root ${CMAKE_FIND_ROOT_PATH})
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

# The package a tester unzips (scripts/package --windows): the programs and
# components with the DLLs they load, found in our folder, Qt's, and the
# compiler's runtime folders.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(ZORV_PACKAGE_NAME ZORV-win32)
else()
    set(ZORV_PACKAGE_NAME ZORV-win64)
endif()
set(ZORV_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/package/${ZORV_PACKAGE_NAME}.zip)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name OUTPUT_VARIABLE libgcc_file
    OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(compiler_runtime_dir ${libgcc_file} DIRECTORY)
set(package_search "${ZORV_BIN_DIR}|${compiler_runtime_dir}|${zorv_mingw_root}/lib")
set(package_window_inputs)
if(ZORV_WINDOW)
    set(package_search "${package_search}|${ZORV_WINDOWS_QT_PREFIX}/bin")
    set(package_window_inputs -DQT_PREFIX=${ZORV_WINDOWS_QT_PREFIX}
        -DQT_TRANSLATION=/usr/share/qt6/translations/qtbase_fr.qm)
endif()
add_custom_target(zorv_package
    COMMAND ${CMAKE_COMMAND} -DBIN_DIR=${ZORV_BIN_DIR}
        -DSTAGE_DIR=${CMAKE_BINARY_DIR}/package/${ZORV_PACKAGE_NAME} -DZIP=${ZORV_PACKAGE_ZIP}
        -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOBJDUMP=${CMAKE_OBJDUMP} -DSTRIP=${CMAKE_STRIP} -DSEARCH_DIRS=${package_search}
        ${package_window_inputs} -P ${PROJECT_SOURCE_DIR}/cmake/WindowsPackage.cmake
    DEPENDS zorv-vbs zorv_opos zorv_vbscript zorv_scripting zorv_registry
    COMMENT "Packaging ${ZORV_PACKAGE_NAME}.zip"
    VERBATIM)
if(ZORV_WINDOW)
    # ZORVApp.exe (the target is the Linux program's, zorv).
    add_dependencies(zorv_package zorv)
endif()

if(ZORV_BUILD_TESTS)
    enable_testing()
    # GoogleTest built from Debian's source package with the cross compiler.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    include(GoogleTest)
    add_subdirectory(tests)
endif()
