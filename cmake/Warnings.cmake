# Our own code builds warning-free; third-party code is not held to this.
# Warnings stop the build only where asked (our scripts and CI): a user's or a
# packager's compiler may warn where ours does not, and must still build.
option(EKVIEW_WERROR "Treat compiler warnings in our own code as errors" OFF)

function(ekview_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8 $<$<BOOL:${EKVIEW_WERROR}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra
                                                 $<$<BOOL:${EKVIEW_WERROR}>:-Werror>)
    endif()
endfunction()
