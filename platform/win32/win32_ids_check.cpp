// The resource script names its commands and controls with resource_ids.h; they must stay the
// numbers the game's logic uses.
#include "ids_and_sizes.h"
#include "resource_ids.h"

namespace blok::win32 {

static_assert(BLOK_CMD_HISCORE == kCmdHiscore && BLOK_CMD_QUIT == kCmdQuit &&
              BLOK_CMD_MUSIC_PLAY == kCmdMusicPlay && BLOK_CMD_MUSIC_STOP == kCmdMusicStop &&
              BLOK_CMD_QUIT_GAME == kCmdQuitGame && BLOK_CMD_SKIP_MUSIC == kCmdSkipMusic &&
              BLOK_CMD_PICTURE == kCmdPicture && BLOK_CMD_WHITE == kCmdWhite &&
              BLOK_CMD_GAME_INFO == kCmdGameInfo && BLOK_CMD_HELP_FILE == kCmdHelpFile &&
              BLOK_CMD_ABOUT == kCmdAbout);
static_assert(BLOK_CMD_ZOOM1 == kCmdZoom1 && BLOK_CMD_ZOOM4 == kCmdZoom4 &&
              BLOK_CMD_FULL_SCREEN == kCmdFullScreen && BLOK_CMD_CONTROLS == kCmdControls &&
              BLOK_CMD_VOLUME == kCmdVolume &&
              BLOK_CMD_PAUSE_ON_FOCUS_LOSS == kCmdPauseOnFocusLoss &&
              BLOK_CMD_SHOW_PAUSED == kCmdShowPaused && BLOK_CMD_HOST_FIGHT == kCmdHostFight &&
              BLOK_CMD_JOIN_FIGHT == kCmdJoinFight && BLOK_CMD_COMPUTER_OFF == kCmdComputerOff &&
              BLOK_CMD_COMPUTER_HARD == kCmdComputerHard);
static_assert(BLOK_DLG_ONE_PLAYER == kDlgOnePlayer && BLOK_DLG_TWO_PLAYERS == kDlgTwoPlayers &&
              BLOK_DLG_COOPERATIVE == kDlgCooperative && BLOK_DLG_FACE_TO_FACE == kDlgFaceToFace &&
              BLOK_DLG_START == kDlgStart && BLOK_DLG_EXIT == kDlgExit);

}  // namespace blok::win32
