# qs_pipl_resource(target DESCRIPTION file.cpp [INCLUDES dir ...] [DEPENDS file ...]) gives a module its
# PiPL resource (type PIPL, id 16000). The description defines pipl::description() (plugin/resources/pipl/
# PiplBuilder.h); it is compiled with the build machine's compiler into a small tool whose output bytes the
# resource compiler stores. DEPENDS lists the headers the description reads its values from.
find_program(QS_HOST_CXX NAMES c++ g++ REQUIRED)
get_filename_component(QS_PIPL_DIR ${CMAKE_CURRENT_LIST_DIR}/../plugin/resources/pipl ABSOLUTE)
get_filename_component(QS_PIPL_AESDK_DIR ${CMAKE_CURRENT_LIST_DIR}/../aesdk ABSOLUTE)

function(qs_pipl_resource target)
    cmake_parse_arguments(PIPL "" "DESCRIPTION" "INCLUDES;DEPENDS" ${ARGN})
    get_filename_component(description ${PIPL_DESCRIPTION} ABSOLUTE)
    set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/pipl_${target})
    set(tool ${out_dir}/PiplWriter)
    set(bytes ${out_dir}/pipl.bin)
    set(include_flags -I${QS_PIPL_DIR} -I${QS_PIPL_AESDK_DIR})
    foreach(dir ${PIPL_INCLUDES})
        get_filename_component(dir ${dir} ABSOLUTE)
        list(APPEND include_flags -I${dir})
    endforeach()
    add_custom_command(OUTPUT ${tool}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
        COMMAND ${QS_HOST_CXX} -std=c++20 -O2 -Wall -Wextra ${include_flags} -o ${tool}
            ${QS_PIPL_DIR}/PiplWriter.cpp ${description}
        DEPENDS ${QS_PIPL_DIR}/PiplWriter.cpp ${QS_PIPL_DIR}/PiplBuilder.h ${QS_PIPL_AESDK_DIR}/ae_pipl.h
            ${QS_PIPL_AESDK_DIR}/ae_types.h ${description} ${PIPL_DEPENDS}
        COMMENT "Building the PiPL writer of ${target}" VERBATIM)
    add_custom_command(OUTPUT ${bytes}
        COMMAND ${tool} ${bytes}
        DEPENDS ${tool}
        COMMENT "Writing the PiPL resource of ${target}" VERBATIM)
    file(CONFIGURE OUTPUT ${out_dir}/pipl.rc CONTENT "16000 PIPL \"${bytes}\"\n")
    set_source_files_properties(${out_dir}/pipl.rc PROPERTIES OBJECT_DEPENDS ${bytes})
    target_sources(${target} PRIVATE ${out_dir}/pipl.rc ${bytes})
endfunction()
