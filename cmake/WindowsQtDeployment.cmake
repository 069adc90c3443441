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
# Qt's French texts (Debian's own file serves as it is) and a qt.conf that
# points Qt at them and at the plugins beside the program.
set(zorv_qt_translation ${ZORV_BIN_DIR}/translations/qtbase_fr.qm)
add_custom_command(OUTPUT ${zorv_qt_translation}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different /usr/share/qt6/translations/qtbase_fr.qm ${zorv_qt_translation}
    DEPENDS /usr/share/qt6/translations/qtbase_fr.qm
    COMMENT "Qt for Windows: qtbase_fr.qm")
list(APPEND zorv_qt_copies ${zorv_qt_translation})
file(WRITE ${ZORV_BIN_DIR}/qt.conf "[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n")
add_custom_target(zorv_qt_runtime ALL DEPENDS ${zorv_qt_copies})
add_dependencies(zorv zorv_qt_runtime)
