# The shipped product: 32-bit Windows.
set(THERMOLYX_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-posix.cmake)
