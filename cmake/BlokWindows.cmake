# The Windows build, cross-compiled with mingw-w64: its programs and tests run under Wine here.
# Included before the project's warning options, so GoogleTest builds with its own.

# Every program the build or ctest starts goes through Wine, in one prefix of this build (or the
# one a caller shares between builds). Created on first use.
find_program(BLOK_WINE wine)
set(BLOK_WINEPREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE PATH "Wine prefix the Windows tests run in")
if(BLOK_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${BLOK_WINEPREFIX} WINEDEBUG=-all ${BLOK_WINE})
endif()

if(BUILD_TESTING)
    # Debian ships GoogleTest's sources; they build with the cross compiler like our own.
    set(BLOK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${BLOK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(library gtest gtest_main gmock gmock_main)
        if(NOT TARGET GTest::${library})
            add_library(GTest::${library} ALIAS ${library})
        endif()
    endforeach()

    # One ctest entry per test program: listing each program's tests would start Wine once
    # per program at build time. The options the Linux build gives are not needed here.
    # Wine without its 32-bit part only prints a hint and exits with 0: a pass needs
    # GoogleTest's own verdict.
    function(gtest_discover_tests target)
        add_test(NAME ${target} COMMAND ${target})
        set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine-prefix
                             PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
                             FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
    endfunction()
endif()
