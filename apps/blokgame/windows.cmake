# Blokfall for Windows: the Win32 main with the resources of the window layer.
add_executable(blokgame WIN32 main_win32.cpp ${PROJECT_SOURCE_DIR}/platform/win32/blokfall.rc)
set_target_properties(blokgame PROPERTIES OUTPUT_NAME Blokfall)
target_link_libraries(blokgame PRIVATE blok_win32 blok_win32_net blok_enet blok_shell blok_render blok_hiscore
                                       blok_music)
target_link_options(blokgame PRIVATE -municode)
target_include_directories(blokgame PRIVATE ${PROJECT_SOURCE_DIR}/platform/win32/files)
