# 64-bit Windows: a test vehicle for machines that cannot run 32-bit x86 code.
# Never shipped.
set(THERMOLYX_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-posix.cmake)
