# Stages and zips the Windows package (cmake -P): the programs, the
# component libraries with their registration files, every DLL they load
# that Windows does not have (found by reading their import tables), the Qt
# platform plugin and French translation when the window is built,
# register.cmd, unregister.cmd, LISEZMOI.txt and the example scripts.
# Inputs: BIN_DIR STAGE_DIR ZIP SOURCE_DIR OBJDUMP SEARCH_DIRS (folders
# separated by |)
# and, with the window, QT_PREFIX and QT_TRANSLATION; STRIP when the images
# are to be stripped.
cmake_minimum_required(VERSION 3.20)
foreach(input BIN_DIR STAGE_DIR ZIP SOURCE_DIR OBJDUMP SEARCH_DIRS)
    if(NOT DEFINED ${input})
        message(FATAL_ERROR "WindowsPackage.cmake: ${input} is missing")
    endif()
endforeach()

string(REPLACE "|" ";" SEARCH_DIRS "${SEARCH_DIRS}")
file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})

set(programs zorv-vbs.exe ZORVApp.exe)
set(components libzorv_opos.dll libzorv_vbscript.dll libzorv_scripting.dll libzorv_registry.dll)
set(to_scan)
foreach(file ${programs} ${components})
    if(EXISTS ${BIN_DIR}/${file})
        file(COPY ${BIN_DIR}/${file} DESTINATION ${STAGE_DIR})
        list(APPEND to_scan ${STAGE_DIR}/${file})
    elseif(NOT file STREQUAL "ZORVApp.exe")
        message(FATAL_ERROR "WindowsPackage.cmake: ${BIN_DIR}/${file} is not built")
    endif()
endforeach()
file(GLOB registration_files ${BIN_DIR}/*.classes)
file(COPY ${registration_files} DESTINATION ${STAGE_DIR})

# The window's platform plugin and style, beside the program, and a qt.conf
# that says so; Qt's French texts for its dialogs.
if(EXISTS ${BIN_DIR}/ZORVApp.exe)
    foreach(plugin platforms/qwindows.dll styles/qwindowsvistastyle.dll)
        get_filename_component(folder ${plugin} DIRECTORY)
        file(COPY ${QT_PREFIX}/plugins/${plugin} DESTINATION ${STAGE_DIR}/${folder})
        list(APPEND to_scan ${STAGE_DIR}/${plugin})
    endforeach()
    file(COPY ${QT_TRANSLATION} DESTINATION ${STAGE_DIR}/translations)
    file(WRITE ${STAGE_DIR}/qt.conf "[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n")
endif()

# Every DLL an image imports that is found in SEARCH_DIRS, and theirs in
# turn; the others are the system's.
set(copied)
while(to_scan)
    list(POP_FRONT to_scan image)
    execute_process(COMMAND ${OBJDUMP} -p ${image} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "WindowsPackage.cmake: cannot read the imports of ${image}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
    foreach(line ${imports})
        string(REPLACE "DLL Name: " "" dll "${line}")
        string(TOLOWER "${dll}" key)
        if(key IN_LIST copied)
            continue()
        endif()
        list(APPEND copied ${key})
        foreach(folder ${SEARCH_DIRS})
            if(EXISTS ${folder}/${dll})
                if(NOT EXISTS ${STAGE_DIR}/${dll})
                    file(COPY ${folder}/${dll} DESTINATION ${STAGE_DIR})
                endif()
                list(APPEND to_scan ${STAGE_DIR}/${dll})
                break()
            endif()
        endforeach()
    endforeach()
endwhile()

# The command files with Windows line ends.
foreach(name register.cmd unregister.cmd LISEZMOI.txt)
    file(READ ${SOURCE_DIR}/packaging/windows/${name} text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${STAGE_DIR}/${name} "${text}")
endforeach()
file(GLOB examples ${SOURCE_DIR}/examples/*.vbs)
file(COPY ${examples} DESTINATION ${STAGE_DIR}/examples)

# Without their symbol tables the programs and libraries are less than half
# the size; nothing in the package reads them.
if(STRIP)
    file(GLOB_RECURSE images ${STAGE_DIR}/*.exe ${STAGE_DIR}/*.dll)
    foreach(image ${images})
        execute_process(COMMAND ${STRIP} --strip-unneeded ${image} RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "WindowsPackage.cmake: cannot strip ${image}")
        endif()
    endforeach()
endif()

get_filename_component(stage_parent ${STAGE_DIR} DIRECTORY)
get_filename_component(stage_name ${STAGE_DIR} NAME)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${stage_name}
    WORKING_DIRECTORY ${stage_parent} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "WindowsPackage.cmake: cannot write ${ZIP}")
endif()
