# GoogleTest and GoogleMock from the distribution's sources, built with the cross toolchain.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# A test program of ours: linked with gtest_main, its tests discovered under Wine at test time.
function(tamsel_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_compile_options(${name} PRIVATE ${TAMSEL_WARNINGS})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
    if(T_PROPERTIES)
        set(T_PROPERTIES PROPERTIES ${T_PROPERTIES})
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin ${T_PROPERTIES})
endfunction()
