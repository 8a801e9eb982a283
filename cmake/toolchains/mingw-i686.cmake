# 32-bit Windows, the primary Windows build: its programs run on every Windows.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BLOK_MINGW_TRIPLE i686-w64-mingw32)
# Floating point in SSE registers, as on 64-bit systems: the x87 unit keeps extra precision
# between steps, so the title's zoom and the computer player's weighing would round differently
# and the game would no longer match the other builds. Every processor Windows runs on has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
