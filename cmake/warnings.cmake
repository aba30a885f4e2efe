# Our own targets compile without warnings; third-party code is left alone.
function(zvkob_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion -Wno-missing-field-initializers -Werror)
endfunction()
