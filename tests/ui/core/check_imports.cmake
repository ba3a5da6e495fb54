# cmake -DOBJDUMP=... -DBINARY=... -P check_imports.cmake
# Fails unless every DLL that BINARY imports is one that Windows itself provides.
cmake_minimum_required(VERSION 3.25)
set(systemDlls ADVAPI32 COMCTL32 COMDLG32 GDI32 GDIPLUS IMM32 KERNEL32 MSIMG32 MSVCRT OLE32 OLEAUT32
    SHELL32 SHLWAPI USER32 UXTHEME WINMM)
execute_process(COMMAND ${OBJDUMP} -p ${BINARY} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT imports)
    message(FATAL_ERROR "${BINARY}: no import table found")
endif()
foreach(entry IN LISTS imports)
    string(REGEX REPLACE "DLL Name: (.+)\\.[dD][lL][lL]$" "\\1" name "${entry}")
    string(TOUPPER "${name}" name)
    if(NOT name IN_LIST systemDlls)
        message(FATAL_ERROR "${BINARY} imports ${entry}, which is not a system DLL")
    endif()
    message(STATUS "${entry}")
endforeach()
