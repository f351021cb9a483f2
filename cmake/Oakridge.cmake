# Shared helpers for the project's CMake files.
include_guard(GLOBAL)

# oakridge_test(<name> LABEL <unit|page|e2e> SOURCES ... [LIBS ...] [ENV ...])
# One gtest executable; each test case becomes its own ctest entry so ctest -j spreads them.
function(oakridge_test name)
    cmake_parse_arguments(T "" "LABEL;TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    gtest_discover_tests(${name}
        PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
                   ENVIRONMENT "${OAKRIDGE_TEST_ENV};${T_ENV}"
        DISCOVERY_TIMEOUT 60)
endfunction()
