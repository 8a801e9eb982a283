# Shared by the mingw-w64 toolchain files: they set BLOK_MINGW_TRIPLE and the processor first.
# The -posix compilers carry the standard library's threads; the C and C++ runtimes are linked
# statically, so the programs load nothing but system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${BLOK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BLOK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BLOK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BLOK_MINGW_TRIPLE})
# Programs the build runs (pcf2bdf, gzip, wine) come from this machine; libraries and headers
# only from the Windows side.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
