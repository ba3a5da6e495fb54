# The Windows build: 32-bit (x86_64 only as a test vehicle on machines that cannot
# run 32-bit code), Unicode, and no runtime DLL beyond the system's own.
enable_language(RC)
# Our own sources only: hidapi's C sources bring their own settings.
foreach(definition UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
    add_compile_definitions($<$<COMPILE_LANGUAGE:CXX>:${definition}>)
endforeach()
# Designated initialisers that leave members at their defaults are intended.
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wall> $<$<COMPILE_LANGUAGE:CXX>:-Wextra>
    $<$<COMPILE_LANGUAGE:CXX>:-Wno-missing-field-initializers>)
# GCC, libstdc++ and winpthreads go into every binary.
add_link_options(-static -static-libgcc -static-libstdc++)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(THERMOLYX_DIST_DIR ${CMAKE_BINARY_DIR}/dist)

# CTest runs the Windows executables through Wine, in a prefix private to this tree.
set(WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(WINE_TEST_ARCH win32)
else()
    set(WINE_TEST_ARCH win64)
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
