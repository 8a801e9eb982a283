#pragma once

// The program's small integers and measures in one place: the shell, the window layer, the
// simulator and the tests all read them from here.

namespace blok {

// Window timers.
inline constexpr int kTimerTitlePicture = 10;  // 9 s picture cycle of the title screen
inline constexpr int kTimerTitleStep = 11;     // 60 ms title animation
inline constexpr int kTimerGravity = 12;       // gamespeed ms
inline constexpr int kTimerInput = 13;         // 60 ms key poll and frame
inline constexpr int kTimerMusicPoll = 15;     // 10 s
inline constexpr int kTimerSpeedUp = 16;       // 10 s
inline constexpr int kTimerHiscoreCheck = 17;  // 0 ms, once: opens the name dialog after a paint

// Menu commands.
inline constexpr int kCmdHiscore = 200;
inline constexpr int kCmdQuit = 202;
inline constexpr int kCmdMusicPlay = 203;
inline constexpr int kCmdMusicStop = 204;
inline constexpr int kCmdQuitGame = 205;
inline constexpr int kCmdSkipMusic = 206;
inline constexpr int kCmdPicture = 207;
inline constexpr int kCmdWhite = 208;
inline constexpr int kCmdGameInfo = 215;
inline constexpr int kCmdHelpFile = 216;
inline constexpr int kCmdAbout = 217;
// The Options popup: its network fight items.
inline constexpr int kCmdHostFight = 320;
inline constexpr int kCmdJoinFight = 321;

// The "&Options" popup after "&Help": 300..319 display, keys and sound, 320..329 network play.
inline constexpr int kCmdZoom1 = 300;  // 300..303: zoom 1x..4x
inline constexpr int kCmdZoom4 = 303;
inline constexpr int kCmdFullScreen = 304;
inline constexpr int kCmdControls = 305;
inline constexpr int kCmdVolume = 306;
inline constexpr int kCmdPauseOnFocusLoss = 307;
inline constexpr int kCmdShowPaused = 308;
// 309..312: who plays the right side of the two-player games: Off (a person), Easy, Normal, Hard.
inline constexpr int kCmdComputerOff = 309;
inline constexpr int kCmdComputerHard = 312;

// Start dialog controls.
inline constexpr int kDlgOnePlayer = 102;
inline constexpr int kDlgTwoPlayers = 103;
inline constexpr int kDlgCooperative = 105;
inline constexpr int kDlgFaceToFace = 106;
inline constexpr int kDlgStart = 107;
inline constexpr int kDlgExit = 108;

// A game frame; the window shows (0, 0)-(kGameFrameWidth, kGameFrameHeight) of it.
inline constexpr int kGameFrameWidth = 409;
inline constexpr int kGameFrameHeight = 428;
// The off-screen surface is this much wider than the client area, for a wider title band.
inline constexpr int kSurfaceExtraWidth = 100;

// The main window's outer size during a game, and where it first opens.
inline constexpr int kWindowWidth = 409;
inline constexpr int kWindowHeight = 447;
inline constexpr int kInitialWindowLeft = 100;
inline constexpr int kInitialWindowTop = 0;

// The game measures its window as a classic framed window: a sizing border, a caption and a menu
// bar around the client area.
inline constexpr int kFrameBorder = 4;
inline constexpr int kCaptionHeight = 19;
inline constexpr int kMenuBarHeight = 19;
inline constexpr int kFrameExtraWidth = 2 * kFrameBorder;
inline constexpr int kFrameExtraHeight = 2 * kFrameBorder + kCaptionHeight + kMenuBarHeight;

}  // namespace blok
