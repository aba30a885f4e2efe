# Our own targets compile without warnings; third-party code is left alone.
function(zvkob_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /utf-8 /permissive-)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                 -Wno-sign-conversion -Wno-missing-field-initializers
                                                 -Werror)
    endif()
endfunction()

# A Windows program whose entry point is wWinMain or wmain.
function(zvkob_unicode_entry target)
    if(MINGW)
        target_link_options(${target} PRIVATE -municode)
    endif()
endfunction()
