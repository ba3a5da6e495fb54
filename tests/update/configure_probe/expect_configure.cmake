# cmake -DPROBE_BUILD=dir -DEXPECT=fail|pass -DMESSAGE=regex [-DABSENT=regex] -DOPTIONS=a;b -P expect_configure.cmake
# Configures the probe with OPTIONS (each NAME=VALUE) and checks the outcome and output.
set(definitions "-DTHERMOLYX_SOURCE_DIR=${THERMOLYX_SOURCE_DIR}")
foreach(option IN LISTS OPTIONS)
    list(APPEND definitions "-D${option}")
endforeach()
file(REMOVE_RECURSE "${PROBE_BUILD}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR} -B ${PROBE_BUILD} ${definitions}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(REMOVE_RECURSE "${PROBE_BUILD}")
string(REGEX REPLACE "[ \n]+" " " flat "${output}")
if(EXPECT STREQUAL "fail" AND result EQUAL 0)
    message(FATAL_ERROR "configuring with ${OPTIONS} succeeded; it should have failed:\n${output}")
elseif(EXPECT STREQUAL "pass" AND NOT result EQUAL 0)
    message(FATAL_ERROR "configuring with ${OPTIONS} failed:\n${output}")
endif()
if(NOT flat MATCHES "${MESSAGE}")
    message(FATAL_ERROR "configuring with ${OPTIONS} did not say '${MESSAGE}':\n${output}")
endif()
if(DEFINED ABSENT AND flat MATCHES "${ABSENT}")
    message(FATAL_ERROR "configuring with ${OPTIONS} said '${ABSENT}':\n${output}")
endif()
