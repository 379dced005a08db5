# Shared compile settings for the project's own targets.

# Warnings we keep at zero for our own code.
function(tarmel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                                             -Wnon-virtual-dtor -Woverloaded-virtual)
endfunction()

# tarmel_library(name SOURCES ... DEPS ...): a static library rooted at the source tree.
function(tarmel_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    tarmel_warnings(${name})
endfunction()

# tarmel_test(name SOURCES ... DEPS ... [LABELS ...]): a GoogleTest executable registered with CTest.
# Qt tests run offscreen; every test gets its own scratch TEMP folder through the fixture helpers.
# With BOTH_DATABASES, every case is registered a second time (suffix ".pg", label postgresql:
# a discovered test takes one label, a list would be split into properties) to run its data
# servers on the test run's PostgreSQL cluster.
function(tarmel_test name)
    cmake_parse_arguments(ARG "BOTH_DATABASES" "" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
    tarmel_warnings(${name})
    include(GoogleTest)
    gtest_discover_tests(${name}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS "${ARG_LABELS}"
        DISCOVERY_TIMEOUT 60)
    if(ARG_BOTH_DATABASES)
        gtest_discover_tests(${name} TEST_SUFFIX ".pg"
            PROPERTIES ENVIRONMENT "TARMEL_TEST_PG=${TARMEL_PG_CLUSTER}"
                       LABELS postgresql FIXTURES_REQUIRED pgcluster
            DISCOVERY_TIMEOUT 60)
    endif()
endfunction()

# tarmel_bench(name SOURCES ... DEPS ...): a timing executable built into build/bench/.
function(tarmel_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
    tarmel_warnings(${name})
endfunction()
