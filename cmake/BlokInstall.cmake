# What `cmake --install` puts where, after GNUInstallDirs: blokfall (the launcher) and
# blokfall-sim in bin/, the game program itself in libexec/blokfall/, the songs, the help and the
# readme texts in share/blokfall/, and the desktop's menu entry, icons, AppStream metadata and
# manual pages. Nothing refers to the prefix: the launcher finds the game and the data relative
# to its own place, so an installed tree may be moved or unpacked anywhere.

set(BLOK_APP_ID org.blokfall.Blokfall)
set(BLOK_HOMEPAGE "https://blokfall.org/" CACHE STRING "The game's home page")
set(BLOK_SCREENSHOTS "${BLOK_HOMEPAGE}screenshots"
    CACHE STRING "Where the pictures of docs/screenshots are published")
set(BLOK_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/blokfall)
set(BLOK_DATA_DIR ${CMAKE_INSTALL_DATADIR}/blokfall)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(resources ${PROJECT_SOURCE_DIR}/resources)
set(generated ${CMAKE_BINARY_DIR}/packaging)

# Manual pages and the changelog, compressed as distributions ship them (no name, no time).
find_program(GZIP gzip REQUIRED)
function(blok_gzip source name)
    set(output ${generated}/${name}.gz)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${CMAKE_COMMAND} -E copy ${source} ${generated}/${name}
                       COMMAND ${GZIP} -9nf ${generated}/${name}
                       DEPENDS ${source}
                       VERBATIM)
    add_custom_target(blok_gzip_${name} ALL DEPENDS ${output})
endfunction()

blok_gzip(${packaging}/blokfall-sim.6 blokfall-sim.6)
install(FILES ${generated}/blokfall-sim.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
blok_gzip(${packaging}/changelog changelog)
install(FILES ${generated}/changelog.gz ${packaging}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(NOT BLOK_GUI)
    return()
endif()

file(RELATIVE_PATH BLOK_LAUNCHER_TO_GAME ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBEXECDIR}/blokfall/Blokfall)
file(RELATIVE_PATH BLOK_LAUNCHER_TO_DATA ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/blokfall)
configure_file(${packaging}/blokfall.in ${generated}/blokfall @ONLY)
install(PROGRAMS ${generated}/blokfall DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${resources}/help/Blokfall.hlp ${resources}/dist/Readme.txt
              ${resources}/dist/Liesmich.txt
        DESTINATION ${BLOK_DATA_DIR})
install(DIRECTORY ${resources}/music/ DESTINATION ${BLOK_DATA_DIR}/music
        FILES_MATCHING PATTERN "*.mid")

install(FILES ${packaging}/${BLOK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${resources}/icons/blokfall-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${BLOK_APP_ID}.png)
endforeach()
configure_file(${packaging}/${BLOK_APP_ID}.metainfo.xml.in ${generated}/${BLOK_APP_ID}.metainfo.xml
               @ONLY)
install(FILES ${generated}/${BLOK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

blok_gzip(${packaging}/blokfall.6 blokfall.6)
install(FILES ${generated}/blokfall.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
