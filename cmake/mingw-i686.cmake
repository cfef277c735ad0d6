# Cross toolchain: 32-bit Windows, the installer's own.
set(QX_MINGW_ARCH i686)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
