# RapidJSON, header-only, from the system's rapidjson-dev. The cross build must
# not search the system's include folder (its C library headers would win over
# mingw's), so the library is seen through a folder of the build tree that
# holds nothing but a link to its headers. It is a SYSTEM folder: its warnings
# are not ours to fix.
find_path(ZVKOB_RAPIDJSON_ROOT rapidjson/document.h PATHS /usr/include
          NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(NOT ZVKOB_RAPIDJSON_ROOT)
    message(FATAL_ERROR "RapidJSON is missing: scripts/install-deps.sh installs rapidjson-dev.")
endif()
set(ZVKOB_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${ZVKOB_JSON_INCLUDE})
file(CREATE_LINK ${ZVKOB_RAPIDJSON_ROOT}/rapidjson ${ZVKOB_JSON_INCLUDE}/rapidjson SYMBOLIC)

add_library(zvkob_json INTERFACE)
target_include_directories(zvkob_json SYSTEM INTERFACE ${ZVKOB_JSON_INCLUDE})
