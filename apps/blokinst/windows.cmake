# blokinst.exe on the Win32 layer, and the release archive Blokfall-<version>-win32.zip (-win64
# from the 64-bit build): the game as Blokfall.exe with its help, the readme texts, the songs in
# their folder music and the installer, so that the game runs where it is unpacked or is
# installed from there.
add_executable(blokinst WIN32 main_win32.cpp ${PROJECT_SOURCE_DIR}/platform/win32/setup/blokinst.rc)
target_link_libraries(blokinst PRIVATE blok_win32_setup blok_base)
target_link_options(blokinst PRIVATE -municode)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/platform/win32/setup/blokinst.rc APPEND
             PROPERTY INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/platform/win32/setup)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(release_name Blokfall-${PROJECT_VERSION}-win64)
else()
    set(release_name Blokfall-${PROJECT_VERSION}-win32)
endif()
set(release_dir ${CMAKE_BINARY_DIR}/release-zip/${release_name})
set(release_zip ${CMAKE_BINARY_DIR}/${release_name}.zip)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/release-zip)
add_custom_command(OUTPUT ${release_zip}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${release_dir}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${release_dir}/music
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:blokgame> ${release_dir}/Blokfall.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:blokinst> ${dist_texts} ${release_dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${dist_songs} ${release_dir}/music
    # Players need no debugging information.
    COMMAND ${CMAKE_STRIP} --strip-debug ${release_dir}/Blokfall.exe ${release_dir}/blokinst.exe
    COMMAND ${CMAKE_COMMAND} -E rm -f ${release_zip}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${release_zip} --format=zip ${release_name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/release-zip
    DEPENDS blokgame blokinst ${dist_texts} ${dist_songs}
    COMMENT "Packing ${release_name}.zip"
    VERBATIM)
add_custom_target(release-zip DEPENDS ${release_zip})
