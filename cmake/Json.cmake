# nlohmann-json, header-only, from the system's package (Debian's nlohmann-json3-dev, or MSYS2's
# on Windows). Its folder is copied into the build tree: the Windows build must not search the
# host's /usr/include as a whole, whose C headers would stand in for mingw-w64's own.
find_path(TARVIK_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(TARVIK_JSON_COPY ${CMAKE_BINARY_DIR}/third_party/json)
file(COPY ${TARVIK_JSON_INCLUDE}/nlohmann DESTINATION ${TARVIK_JSON_COPY})
add_library(tarvik_json INTERFACE)
target_include_directories(tarvik_json SYSTEM INTERFACE ${TARVIK_JSON_COPY})
