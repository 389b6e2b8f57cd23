# Cross-compiles the same sources for 64-bit Windows: it runs under Wine's 64-bit loader on
# machines whose kernel runs no 32-bit code, and checks pointer-size correctness everywhere.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QM_MINGW_TRIPLE x86_64-w64-mingw32)
set(QM_WINE_TARGET win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
