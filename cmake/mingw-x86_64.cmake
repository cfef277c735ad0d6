# Cross toolchain: 64-bit Windows. Only the tests use it, on machines whose
# kernel runs no 32-bit x86 code (and so no 32-bit Wine).
set(QX_MINGW_ARCH x86_64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
