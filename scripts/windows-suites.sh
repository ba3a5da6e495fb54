# Sourced by build.sh and test.sh: decides which Windows builds the tests run from.
# Sets windows_suites ("32", "64" or "32 64") and windows_suites_why (one line).
#   THERMOLYX_WINDOWS_TESTS=auto|32|64|both   (default auto)
# auto tries to run 32-bit x86 code: where it runs, the shipped 32-bit build is
# tested under wine32; where the kernel refuses it, an x86_64 build of the same
# sources is tested under wine64.

# Exits with 42 when the kernel runs 32-bit x86 code: a 95-byte static i386 ELF
# whose only instructions are exit(42), so no 32-bit library has to be installed.
runs_32bit_x86() {
    local probe status=0 elf=''
    # ELF header: 32-bit, little-endian, executable, i386, entry 0x08048054.
    elf+='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    elf+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
    elf+='\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'
    elf+='\x00\x00\x00\x00'
    # One loadable segment: the whole 95-byte file at 0x08048000, readable and executable.
    elf+='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
    elf+='\x5f\x00\x00\x00\x5f\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
    # xor ebx,ebx; mov bl,42; mov eax,1 (exit); int 0x80
    elf+='\x31\xdb\xb3\x2a\xb8\x01\x00\x00\x00\xcd\x80'
    probe=$(mktemp)
    printf '%b' "$elf" >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    [ "$status" -eq 42 ]
}

case ${THERMOLYX_WINDOWS_TESTS:-auto} in
    auto)
        if runs_32bit_x86; then
            windows_suites="32"
            windows_suites_why="this machine runs 32-bit x86 code, so the shipped 32-bit build is tested under wine32"
        else
            windows_suites="64"
            windows_suites_why="this machine cannot run 32-bit x86 code (a 32-bit test program did not start), so an x86_64 build of the same sources is tested under wine64; the 32-bit product is built and import-checked only"
        fi ;;
    32) windows_suites="32"; windows_suites_why="THERMOLYX_WINDOWS_TESTS=32 asks for the 32-bit build under wine32" ;;
    64) windows_suites="64"; windows_suites_why="THERMOLYX_WINDOWS_TESTS=64 asks for the x86_64 build under wine64" ;;
    both) windows_suites="32 64"; windows_suites_why="THERMOLYX_WINDOWS_TESTS=both asks for the 32-bit build under wine32 and the x86_64 build under wine64" ;;
    *)
        echo "THERMOLYX_WINDOWS_TESTS is '${THERMOLYX_WINDOWS_TESTS}'; use auto, 32, 64 or both" >&2
        return 2 ;;
esac
