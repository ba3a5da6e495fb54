#!/usr/bin/env bash
# Fails when a shipped binary imports a DLL that Windows itself does not provide:
# the program's folder holds nothing but its own two binaries.
#   check-imports.sh OBJDUMP BINARY...
set -euo pipefail
objdump=$1
shift
allowed='^(kernel32|user32|gdi32|gdiplus|advapi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|msvcrt|ws2_32|wininet|winmm|msimg32|hid|setupapi|cfgmgr32|taskschd|imm32|uxtheme|version|winspool\.drv|rpcrt4|ntdll|bcrypt|crypt32|userenv)(\.dll)?$'
status=0
for binary in "$@"; do
    while read -r dll; do
        if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
            echo "$binary imports $dll, which is not a system DLL"
            status=1
        fi
    done < <("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
    echo "$binary: $("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
done
exit $status
