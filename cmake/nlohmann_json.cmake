# nlohmann-json is header only: the cross compiler is shown its folder alone, not the host's
# whole /usr/include. Native builds find it where it is.
if(NOT TARGET nlohmann_json_headers)
    add_library(nlohmann_json_headers INTERFACE)
    if(CMAKE_CROSSCOMPILING)
        set(NLOHMANN_JSON_LINK_DIR ${CMAKE_BINARY_DIR}/host-include)
        file(MAKE_DIRECTORY ${NLOHMANN_JSON_LINK_DIR})
        file(CREATE_LINK /usr/include/nlohmann ${NLOHMANN_JSON_LINK_DIR}/nlohmann SYMBOLIC)
        target_include_directories(nlohmann_json_headers SYSTEM INTERFACE ${NLOHMANN_JSON_LINK_DIR})
    endif()
endif()
