# Compiles a file into the program as a byte array: ekview_embed_file(target file
# name) makes "<name>.inc" with `const unsigned char name[]` (its bytes) for the
# target's sources to include. Run with -P, this file writes one such include.
if(CMAKE_SCRIPT_MODE_FILE)
    file(READ "${INPUT}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR length "${digits} / 2")
    set(bytes "")
    # Sixteen bytes a line.
    foreach(start RANGE 0 ${digits} 32)
        string(SUBSTRING "${hex}" ${start} 32 line)
        if(NOT line STREQUAL "")
            string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," line "${line}")
            string(APPEND bytes "    ${line}\n")
        endif()
    endforeach()
    get_filename_component(source "${INPUT}" NAME)
    file(WRITE "${OUTPUT}"
        "// Made from ${source} at build time.\n"
        "const unsigned char ${NAME}[${length}] = {\n${bytes}};\n")
    return()
endif()

set(EKVIEW_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(ekview_embed_file target file name)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/embedded)
    set(output ${dir}/${name}.inc)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${output} -DNAME=${name}
                -P ${EKVIEW_EMBED_SCRIPT}
        DEPENDS ${file} ${EKVIEW_EMBED_SCRIPT}
        COMMENT "Embedding ${name}"
        VERBATIM)
    target_sources(${target} PRIVATE ${output})
    target_include_directories(${target} PRIVATE ${dir})
endfunction()
