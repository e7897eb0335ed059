# Compiles data files into a target as byte arrays (the assembler's .incbin), so that no source holds
# escaped data. qs_embed_files(target NAMESPACE ns HEADER name.h FILES a.png b.glsl ...) declares, per file,
# ns::<file name with non-identifier characters as '_'> of type std::span<const unsigned char> in name.h.
# The bytes are followed by one NUL, so embedded text can also be handed on as a C string.
function(qs_embed_files target)
    cmake_parse_arguments(EMBED "" "NAMESPACE;HEADER" "FILES" ${ARGN})
    set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/embedded_${target})
    set(declarations "")
    # Read-only data: the PE section with its flags, or the ELF one of a native build (./pellux sanitize).
    if(WIN32)
        set(section ".rdata,\\\"dr\\\"")
    else()
        set(section ".rodata")
    endif()
    foreach(file ${EMBED_FILES})
        get_filename_component(abs ${file} ABSOLUTE)
        get_filename_component(name ${file} NAME)
        string(MAKE_C_IDENTIFIER ${name} symbol)
        set(label qs_embed_${EMBED_NAMESPACE}_${symbol})
        set(source ${out_dir}/${symbol}.cpp)
        file(CONFIGURE OUTPUT ${source} @ONLY CONTENT
"// Generated: the bytes of @name@.
#include <span>
__asm__(\".section @section@\\n.balign 16\\n.globl @label@\\n@label@:\\n.incbin \\\"@abs@\\\"\\n\"
        \".globl @label@_end\\n@label@_end:\\n.byte 0\\n.text\\n\");
extern \"C\" const unsigned char @label@[], @label@_end[];
namespace @EMBED_NAMESPACE@ {
extern const std::span<const unsigned char> @symbol@;
const std::span<const unsigned char> @symbol@(@label@, @label@_end);
}
")
        set_source_files_properties(${source} PROPERTIES OBJECT_DEPENDS ${abs})
        target_sources(${target} PRIVATE ${source})
        string(APPEND declarations "extern const std::span<const unsigned char> ${symbol};\n")
    endforeach()
    file(CONFIGURE OUTPUT ${out_dir}/${EMBED_HEADER} CONTENT
"// Generated: embedded data files.\n#pragma once\n#include <span>\nnamespace ${EMBED_NAMESPACE} {\n${declarations}}\n")
    target_include_directories(${target} PUBLIC ${out_dir})
endfunction()
