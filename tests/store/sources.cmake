# The store core's tests, shared by the cross build (run under Wine) and the native build.
set(STORE_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/database_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/database_fault_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/formula_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/item_values_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/json_skim_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/note_record_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/note_table_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/store_time_test.cpp)
