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

# Every test of the current folder runs under wine in a lane of its own
# (cmake/wine-run.sh.in): a prefix and a screen that no other test uses meanwhile.
function(zvkob_wine_lanes)
    get_directory_property(tests TESTS)
    if(tests)
        set_tests_properties(${tests} PROPERTIES RESOURCE_GROUPS "wine:1")
    endif()
endfunction()
