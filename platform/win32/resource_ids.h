#ifndef BLOK_WIN32_RESOURCE_IDS_H
#define BLOK_WIN32_RESOURCE_IDS_H

/* Numbers shared by the resource script and the window layer. The resource compiler reads only
   the preprocessor, so the menu commands and the start dialog's controls are repeated here;
   win32_ids_check.cpp holds them equal to core/ids. */

#define BLOK_ICON_MAIN 1
#define BLOK_MENU "MENU_1"
#define BLOK_ACCELERATORS "ACCEL_1"

/* Menu commands. */
#define BLOK_CMD_HISCORE 200
#define BLOK_CMD_QUIT 202
#define BLOK_CMD_MUSIC_PLAY 203
#define BLOK_CMD_MUSIC_STOP 204
#define BLOK_CMD_QUIT_GAME 205
#define BLOK_CMD_SKIP_MUSIC 206
#define BLOK_CMD_PICTURE 207
#define BLOK_CMD_WHITE 208
#define BLOK_CMD_GAME_INFO 215
#define BLOK_CMD_HELP_FILE 216
#define BLOK_CMD_ABOUT 217
#define BLOK_CMD_ZOOM1 300
#define BLOK_CMD_ZOOM2 301
#define BLOK_CMD_ZOOM3 302
#define BLOK_CMD_ZOOM4 303
#define BLOK_CMD_FULL_SCREEN 304
#define BLOK_CMD_CONTROLS 305
#define BLOK_CMD_VOLUME 306
#define BLOK_CMD_PAUSE_ON_FOCUS_LOSS 307
#define BLOK_CMD_SHOW_PAUSED 308
#define BLOK_CMD_COMPUTER_OFF 309
#define BLOK_CMD_COMPUTER_EASY 310
#define BLOK_CMD_COMPUTER_NORMAL 311
#define BLOK_CMD_COMPUTER_HARD 312
#define BLOK_CMD_HOST_FIGHT 320
#define BLOK_CMD_JOIN_FIGHT 321

/* "Dialog_1", the start dialog. */
#define BLOK_DLG_ONE_PLAYER 102
#define BLOK_DLG_TWO_PLAYERS 103
#define BLOK_DLG_COOPERATIVE 105
#define BLOK_DLG_FACE_TO_FACE 106
#define BLOK_DLG_START 107
#define BLOK_DLG_EXIT 108

/* "Dialog_2", the name entry. */
#define BLOK_NAME_EDIT 101
#define BLOK_NAME_OK 115

/* "Dialog_3", the table: row i has its name in 200 + 2i and its points in 201 + 2i. */
#define BLOK_TABLE_FIRST_ROW 200
#define BLOK_TABLE_OK 220

/* "Dialog_5", game information: its OK button and the key table's cells. */
#define BLOK_INFO_OK 230
#define BLOK_INFO_KEY_FIRST 240 /* 240 + 2 * action: player 1, + 1: player 2 */
#define BLOK_INFO_PAUSE 250

/* The about box, resource 1. */
#define BLOK_ABOUT 1
#define BLOK_ABOUT_OK 101

/* "CONTROLS": a button per key slot (pause first, then side by side), the message line. */
#define BLOK_CONTROLS_FIRST_KEY 400 /* 400: pause, 401 + 4 * side + action */
#define BLOK_CONTROLS_MESSAGE 420
#define BLOK_CONTROLS_REPEAT 421
#define BLOK_CONTROLS_DELAY 422
#define BLOK_CONTROLS_RATE 423
#define BLOK_CONTROLS_PADS 424
#define BLOK_CONTROLS_SWAP_PADS 425
#define BLOK_CONTROLS_DEFAULTS 426

/* "VOLUME". */
#define BLOK_VOLUME_SLIDER 430
#define BLOK_VOLUME_PERCENT 431
#define BLOK_VOLUME_MUTE 432

/* "NETHOST" and "NETJOIN", the network fight's dialogs. */
#define BLOK_NET_PORT 440
#define BLOK_NET_ADDRESSES 441
#define BLOK_NET_CODE 442
#define BLOK_NET_STATUS 443
#define BLOK_NET_HOST 444

#endif
