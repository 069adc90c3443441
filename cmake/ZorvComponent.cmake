# A component library's four entry points, exported by their plain names as
# COM looks them up; on 32-bit the linker matches those names to the
# decorated __stdcall ones, as intended.
function(zorv_export_entry_points target)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/platform/com/win/component.def)
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
        target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
    endif()
endfunction()

# zorv_add_component(NAME SOURCES... REGISTRATION file)
# Builds an in-process server and places it, with its registration file, in
# the components folder beside the executables.
function(zorv_add_component name)
    cmake_parse_arguments(ARG "" "REGISTRATION" "SOURCES;LIBRARIES" ${ARGN})
    add_library(${name} MODULE ${ARG_SOURCES})
    if(WIN32)
        zorv_export_entry_points(${name})
    endif()
    target_link_libraries(${name} PRIVATE zorvcom ${ARG_LIBRARIES})
    set_target_properties(${name} PROPERTIES
        PREFIX "lib"
        LIBRARY_OUTPUT_DIRECTORY ${ZORV_COMPONENTS_DIR}
        CXX_VISIBILITY_PRESET hidden)
    if(ARG_REGISTRATION AND WIN32)
        # The same registration, naming the library as Windows calls it.
        file(READ ${ARG_REGISTRATION} registration)
        string(REGEX REPLACE "(library [^\n]*)\\.so" "\\1.dll" registration "${registration}")
        file(WRITE ${ZORV_COMPONENTS_DIR}/${name}.classes "${registration}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARG_REGISTRATION})
    elseif(ARG_REGISTRATION)
        configure_file(${ARG_REGISTRATION} ${ZORV_COMPONENTS_DIR}/${name}.classes COPYONLY)
    endif()
endfunction()
