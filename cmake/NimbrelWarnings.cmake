# One place for the warning flags of every target of the project.
function(nimbrel_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion)
    if(NIMBREL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
