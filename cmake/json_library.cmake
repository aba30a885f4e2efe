# RapidJSON, header-only. On Debian it comes from rapidjson-dev; elsewhere,
# point ZVKOB_RAPIDJSON_ROOT at the folder that holds rapidjson/.
find_path(ZVKOB_RAPIDJSON_ROOT rapidjson/document.h HINTS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT ZVKOB_RAPIDJSON_ROOT)
    message(FATAL_ERROR "RapidJSON is missing: scripts/install-deps.sh installs rapidjson-dev, "
                        "or set ZVKOB_RAPIDJSON_ROOT to the folder that holds rapidjson/.")
endif()
if(CMAKE_HOST_WIN32)
    set(ZVKOB_JSON_INCLUDE ${ZVKOB_RAPIDJSON_ROOT})
else()
    # The system's include folder is never added itself: the cross build
    # would take its C library's headers over mingw's, and the native one
    # would reorder the standard library's. A folder of the build tree holds
    # nothing but a link to the library's headers instead.
    set(ZVKOB_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
    file(MAKE_DIRECTORY ${ZVKOB_JSON_INCLUDE})
    file(CREATE_LINK ${ZVKOB_RAPIDJSON_ROOT}/rapidjson ${ZVKOB_JSON_INCLUDE}/rapidjson SYMBOLIC)
endif()

# A SYSTEM folder: the library's warnings are not ours to fix.
add_library(zvkob_json INTERFACE)
target_include_directories(zvkob_json SYSTEM INTERFACE ${ZVKOB_JSON_INCLUDE})
