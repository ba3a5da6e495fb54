# Third-party libraries, all from Debian packages (see scripts/setup.sh).

# GoogleTest is compiled into each build from Debian's source copy.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# hidapi's header, for code that calls the HID library; which library satisfies
# the calls (the real one or the test emulator) is the executable's choice.
if(WIN32)
    set(HIDAPI_SOURCE_DIR ${CMAKE_BINARY_DIR}/_deps/hidapi-src)
    execute_process(
        COMMAND ${CMAKE_SOURCE_DIR}/scripts/fetch-hidapi-source.sh ${HIDAPI_SOURCE_DIR}
        RESULT_VARIABLE hidapiFetchResult)
    if(NOT hidapiFetchResult EQUAL 0)
        message(FATAL_ERROR "Could not fetch hidapi's source package; run scripts/setup.sh first")
    endif()
    set(BUILD_SHARED_LIBS OFF)
    add_subdirectory(${HIDAPI_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/hidapi-build EXCLUDE_FROM_ALL SYSTEM)
    add_library(hidapi_headers INTERFACE)
    target_include_directories(hidapi_headers SYSTEM INTERFACE ${HIDAPI_SOURCE_DIR}/hidapi)
    add_library(hidapi_real INTERFACE)
    target_link_libraries(hidapi_real INTERFACE hidapi_winapi)
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(HIDAPI_HIDRAW REQUIRED IMPORTED_TARGET hidapi-hidraw)
    add_library(hidapi_headers INTERFACE)
    target_include_directories(hidapi_headers SYSTEM INTERFACE /usr/include/hidapi)
    add_library(hidapi_real INTERFACE)
    target_link_libraries(hidapi_real INTERFACE PkgConfig::HIDAPI_HIDRAW)
endif()

# zlib: the static MinGW archive, so no zlib1.dll has to travel with the program.
if(WIN32)
    find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
    find_path(ZLIB_INCLUDE zlib.h REQUIRED)
    add_library(zlib_static STATIC IMPORTED)
    set_target_properties(zlib_static PROPERTIES
        IMPORTED_LOCATION ${ZLIB_STATIC}
        INTERFACE_INCLUDE_DIRECTORIES ${ZLIB_INCLUDE})
else()
    find_package(ZLIB REQUIRED)
    add_library(zlib_static INTERFACE)
    target_link_libraries(zlib_static INTERFACE ZLIB::ZLIB)
endif()
