# ENet for the Windows build: Debian ships no Windows build of it, so its Debian source is
# fetched outside the project's tree (scripts/fetch-enet-source.sh) and compiled here with the
# cross compiler into a static library.
enable_language(C)
set(BLOK_ENET_SOURCE ${CMAKE_BINARY_DIR}/third_party/enet CACHE PATH
    "Debian's source of ENet for the Windows build (fetched when missing)")
if(NOT EXISTS ${BLOK_ENET_SOURCE}/include/enet/enet.h)
    execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-enet-source.sh ${BLOK_ENET_SOURCE}
                    RESULT_VARIABLE fetched)
    if(NOT fetched EQUAL 0)
        message(FATAL_ERROR "The source of ENet could not be fetched into ${BLOK_ENET_SOURCE}")
    endif()
endif()

set(enet_parts callbacks compress host list packet peer protocol win32)
list(TRANSFORM enet_parts PREPEND ${BLOK_ENET_SOURCE}/)
list(TRANSFORM enet_parts APPEND .c)
add_library(blok_enet_library STATIC ${enet_parts})
target_include_directories(blok_enet_library SYSTEM PUBLIC ${BLOK_ENET_SOURCE}/include)
# Its own code: the project's warning options (some only C++'s) are not for it.
set_property(TARGET blok_enet_library PROPERTY COMPILE_OPTIONS -w)
# Winsock 2 and the multimedia timer.
target_link_libraries(blok_enet_library PUBLIC ws2_32 winmm)
