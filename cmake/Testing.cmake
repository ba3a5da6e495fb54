# thermolyx_add_test(NAME SOURCES src... LIBS lib...)
# One executable per area. Natively each GoogleTest case is its own CTest test;
# under Wine a process costs about a second, so the executable is one CTest test.
# Either way the tests carry the executable's name as their label, so
# scripts/retest.sh can rebuild and re-run one area.
function(thermolyx_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    if(WIN32)
        target_link_options(${name} PRIVATE -mconsole)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS ${name})
    else()
        include(GoogleTest)
        gtest_discover_tests(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS ${name})
    endif()
endfunction()
