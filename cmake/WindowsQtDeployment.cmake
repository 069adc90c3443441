# The Qt for Windows the window runs on, copied beside ZORVApp.exe in the
# layout a package has: Qt's DLLs in bin/, the platform plugin in
# bin/platforms/ and the style in bin/styles/, where Qt looks next to the
# program (the prefix baked into Qt is this machine's, meaningless there).
set(zorv_qt_files
    bin/Qt6Core.dll
    bin/Qt6Gui.dll
    bin/Qt6Widgets.dll
    plugins/platforms/qwindows.dll
    plugins/styles/qwindowsvistastyle.dll)
set(zorv_qt_copies)
foreach(file ${zorv_qt_files})
    get_filename_component(name ${file} NAME)
    get_filename_component(folder ${file} DIRECTORY)
    string(REGEX REPLACE "^(bin|plugins)/?" "" folder "${folder}")
    set(copy ${ZORV_BIN_DIR}/${folder}/${name})
    string(REPLACE "//" "/" copy "${copy}")
    add_custom_command(OUTPUT ${copy}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ZORV_WINDOWS_QT_PREFIX}/${file} ${copy}
        DEPENDS ${ZORV_WINDOWS_QT_PREFIX}/${file}
        COMMENT "Qt for Windows: ${name}")
    list(APPEND zorv_qt_copies ${copy})
endforeach()
add_custom_target(zorv_qt_runtime ALL DEPENDS ${zorv_qt_copies})
add_dependencies(zorv zorv_qt_runtime)
