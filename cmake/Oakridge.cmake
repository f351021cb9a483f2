# Shared helpers for the project's CMake files.
include_guard(GLOBAL)

# oakridge_test(<name> LABEL <unit|page|e2e> [threads] SOURCES ... [LIBS ...] [ENV ...] [TIMEOUT s])
# One gtest executable; each test case becomes its own ctest entry so ctest -j spreads them.
function(oakridge_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "LABEL;SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    # Prefixed with the executable so cases of the same name in two executables stay apart.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${name}."
        DISCOVERY_MODE PRE_TEST)
    # gtest_discover_tests splits list-valued properties, so labels and the environment are set by a
    # ctest include file that runs after the discovery, on everything it discovered.
    set(file ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
    file(WRITE ${file}
        "if(${name}_TESTS)\n"
        "  set_tests_properties(\${${name}_TESTS} PROPERTIES\n"
        "    LABELS \"${T_LABEL}\"\n"
        "    TIMEOUT ${T_TIMEOUT}\n"
        "    ENVIRONMENT \"${OAKRIDGE_TEST_ENV};${T_ENV}\")\n"
        "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
endfunction()
