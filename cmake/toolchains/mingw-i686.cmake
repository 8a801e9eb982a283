# 32-bit Windows, the primary Windows build: its programs run on every Windows.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BLOK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
