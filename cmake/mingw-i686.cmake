# Cross-compiles for 32-bit Windows (the product) with mingw-w64's posix thread model
# (std::thread, std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QM_MINGW_TRIPLE i686-w64-mingw32)
set(QM_WINE_TARGET win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
