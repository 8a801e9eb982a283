#include "game_shell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "shell_program.h"

namespace blok {
namespace {

TEST(GameShellStart, ProgramStartEntersTheTitleScreenInOrder) {
    Program p;
    p.Launch();

    EXPECT_TRUE(p.log.HasInOrder(
        {"Hiscore.Load", "Screen.Create 401x401", "Music.musicInit", "Music.letMusicPlay",
         "SetTimer 15 10000", "Check 203 1", "Check 204 0", "Check 207 1", "Check 208 0",
         // first paint: the title screen
         "Enable 205 0", "KillTimer 13", "KillTimer 12", "KillTimer 16", "Hiscore.Check",
         "SetTimer 10 9000", "SetTimer 11 60", "CreateStartDialog", "InvalidateAll"}));
    // The generator was seeded from the clock and nothing has drawn from it yet.
    Random expected(kClockSeconds);
    EXPECT_EQ(p.random.Next(), expected.Next());

    // Score 0 was offered (no name will be asked) while the status was 7.
    ASSERT_EQ(p.hiscores.offers.size(), 1u);
    EXPECT_EQ(p.hiscores.offers[0].points, 0u);
    EXPECT_EQ(p.hiscores.offers[0].noScore, 0);
    EXPECT_EQ(p.hiscores.offers[0].statusDuringCheck, kStatusHiscoreCheck);

    EXPECT_TRUE(p.OnTitleScreen());
    EXPECT_EQ(p.platform.radioChecked[kDlgOnePlayer], kDlgOnePlayer);
    EXPECT_EQ(p.platform.radioChecked[kDlgCooperative], kDlgCooperative);
    EXPECT_FALSE(p.platform.menuEnabled[kCmdQuitGame]);
    EXPECT_TRUE(p.platform.menuChecked[kCmdMusicPlay]);
    EXPECT_TRUE(p.platform.menuChecked[kCmdPicture]);
    for (int id : {kTimerTitlePicture, kTimerTitleStep, kTimerMusicPoll}) {
        EXPECT_TRUE(p.platform.TimerRunning(id)) << id;
    }
    for (int id : {kTimerGravity, kTimerInput, kTimerSpeedUp}) {
        EXPECT_FALSE(p.platform.TimerRunning(id)) << id;
    }
    // The paint after the entry sized the window and drew the first title frame.
    EXPECT_EQ(p.screen.titleFrames, 1);
    EXPECT_EQ(p.screen.lastTitleWidth, 409);
    EXPECT_EQ(p.platform.window.Width(), 409);
    EXPECT_EQ(p.platform.window.Height(), 447);
    EXPECT_FALSE(p.platform.presentOutsideSurface);
    EXPECT_EQ(p.state().ClrScr, 1);
}

TEST(GameShellStart, TitleTimersAnimateAndWipeOnceAfterEntry) {
    Program p;
    p.Launch();

    p.platform.RunFor(60);
    EXPECT_EQ(p.screen.titleSteps, 1);
    EXPECT_EQ(p.screen.lastStepWidth, 409);
    EXPECT_EQ(p.log.lines.back(), "InvalidateAll");  // the first step wipes the whole window
    EXPECT_EQ(p.state().ClrScr, 0);
    p.platform.RunFor(60);
    EXPECT_EQ(p.log.lines.back(), "InvalidateTop 232");

    p.platform.RunFor(9000 - 120);
    EXPECT_EQ(p.screen.pictureCycles, 1);
    EXPECT_TRUE(p.log.ContainsFrom("InvalidateTop 231", 0));
    // One frame for every step, and one for the picture cycle.
    EXPECT_EQ(p.screen.titleFrames, 1 + 150 + 1);

    // Activating the window hands the focus to the dialog while it exists.
    p.shell.OnActivate();
    EXPECT_EQ(p.platform.focusDialog, 1);
    p.StartGame(1, 1);
    p.shell.OnActivate();
    EXPECT_EQ(p.platform.focusDialog, 1);
}

TEST(GameShellStart, CaptionOnlyWhileMusicPlays) {
    Program p;
    p.Launch();
    p.platform.RunFor(60);
    EXPECT_EQ(p.screen.lastCaption, "Now Playing: Song 7");

    p.music.mpauseValue = 1;
    p.platform.RunFor(60);
    EXPECT_EQ(p.screen.lastCaption, "");

    p.music.mpauseValue = 0;
    p.music.nomusicValue = 1;
    p.platform.RunFor(60);
    EXPECT_EQ(p.screen.lastCaption, "");
}

struct GameTypeCase {
    int players;
    int type;
    int status;
    int noScore;
    int key1left;
};

class GameShellGameStart : public testing::TestWithParam<GameTypeCase> {};

TEST_P(GameShellGameStart, StartDialogStartsTheChosenGame) {
    const GameTypeCase c = GetParam();
    Program p;
    p.Launch();
    p.platform.window = Rect{30, 40, 830, 640};  // the user has resized the window
    p.Choose(c.players, c.type);
    const std::size_t mark = p.log.lines.size();
    p.shell.StartDialogCommand(kDlgStart);

    EXPECT_EQ(p.game().iGameStatus, c.status);
    EXPECT_EQ(p.game().noScore, c.noScore);
    EXPECT_EQ(p.game().GameInit, 1);
    EXPECT_FALSE(p.platform.dialogOpen);

    p.platform.DeliverPaints();
    EXPECT_TRUE(p.log.HasInOrder(
        {"Enable 205 1", "Pressed " + std::to_string(PhysicalKeyOfVirtualKey(kVkP)), "KillTimer 10",
         "KillTimer 11", "SetTimer 12 350", "SetTimer 16 10000", "SetTimer 13 60", "FocusMain",
         "MoveWindow 30 40 409 447"},
        mark));
    EXPECT_EQ(p.game().GameInit, 0);
    EXPECT_EQ(p.game().gamespeed, 350);
    EXPECT_EQ(p.game().key1left, c.key1left);
    EXPECT_TRUE(p.platform.menuEnabled[kCmdQuitGame]);
    EXPECT_FALSE(p.platform.TimerRunning(kTimerTitlePicture));
    EXPECT_FALSE(p.platform.TimerRunning(kTimerTitleStep));
    EXPECT_EQ(p.platform.TimerInterval(kTimerInput), 60);
    EXPECT_GE(p.screen.gameFrames, 1);
    EXPECT_FALSE(p.platform.presentOutsideSurface);
    EXPECT_EQ(p.platform.lastPresentWidth, 409);

    // Quitting the game brings the dialog back with the same choice checked.
    p.shell.OnCommand(kCmdQuitGame);
    p.platform.DeliverPaints();
    EXPECT_TRUE(p.OnTitleScreen());
    EXPECT_EQ(p.platform.radioChecked[kDlgOnePlayer],
              c.players == 1 ? kDlgOnePlayer : kDlgTwoPlayers);
    EXPECT_EQ(p.platform.radioChecked[kDlgCooperative],
              c.type == 1 ? kDlgCooperative : kDlgFaceToFace);
}

// The name dialog waits in a loop of its own, so it is opened right after the paint that ends the
// game, never inside it; the steps around it keep their order.
TEST(GameShellPlay, ScoreThatEntersIsOfferedRightAfterThePaint) {
    Program p;
    p.LaunchAndPlay(1, 1);
    p.hiscores.entering = true;
    const std::size_t lines = p.log.lines.size();
    p.shell.OnCommand(kCmdQuitGame);

    ASSERT_EQ(p.platform.Step(p.platform.Now()), VirtualPlatform::kPaint);
    EXPECT_EQ(p.hiscores.offers.size(), 1u);
    EXPECT_EQ(p.game().iGameStatus, kStatusHiscoreCheck);
    EXPECT_EQ(p.platform.TimerInterval(kTimerHiscoreCheck), 0);
    p.platform.DeliverPaints();  // paints meanwhile draw nothing and open nothing
    EXPECT_EQ(p.hiscores.offers.size(), 1u);

    ASSERT_EQ(p.platform.Step(p.platform.Now()), kTimerHiscoreCheck);
    ASSERT_EQ(p.hiscores.offers.size(), 2u);
    EXPECT_EQ(p.hiscores.offers[1].statusDuringCheck, kStatusHiscoreCheck);
    EXPECT_FALSE(p.platform.TimerRunning(kTimerHiscoreCheck));
    EXPECT_TRUE(p.OnTitleScreen());
    EXPECT_TRUE(p.log.HasInOrder({"Enable 205 0", "KillTimer 13", "KillTimer 12", "KillTimer 16",
                                  "SetTimer 17 0", "KillTimer 17", "Hiscore.Check",
                                  "SetTimer 10 9000", "SetTimer 11 60", "CreateStartDialog"},
                                 lines));
}

INSTANTIATE_TEST_SUITE_P(Types, GameShellGameStart,
                         testing::Values(GameTypeCase{1, 2, kStatusOnePlayer, 0,
                                                      293},  // type ignored for one player
                                         GameTypeCase{2, 1, kStatusCooperative, 0, 65},
                                         GameTypeCase{2, 2, kStatusFaceToFace, 1, 65}));

TEST(GameShellPlay, OnePlayerGameRunsByGravityToItsEndAndOffersTheScore) {
    Program p;
    p.LaunchAndPlay(1, 1);

    std::uint32_t lastPoints = 0;
    const int ended = p.platform.RunUntil(
        [&] {
            if (p.game().iGameStatus == kStatusOnePlayer) lastPoints = p.game().Up1Points;
            return p.game().iGameStatus != kStatusOnePlayer;
        },
        30 * kMinute);
    ASSERT_EQ(ended, kTimerGravity);  // only gravity moves the pieces
    EXPECT_EQ(p.game().iGameStatus, kStatusTitlePending);

    // The input tick after the end asks for the paint that brings the title screen back.
    p.platform.RunUntil([&] { return p.OnTitleScreen(); }, 100);
    ASSERT_TRUE(p.OnTitleScreen());
    ASSERT_EQ(p.hiscores.offers.size(), 2u);
    EXPECT_GT(p.hiscores.offers[1].points, 0u);
    EXPECT_GE(p.hiscores.offers[1].points, lastPoints);
    EXPECT_EQ(p.hiscores.offers[1].noScore, 0);
    EXPECT_FALSE(p.platform.menuEnabled[kCmdQuitGame]);
    EXPECT_FALSE(p.platform.TimerRunning(kTimerGravity));
    EXPECT_FALSE(p.platform.TimerRunning(kTimerInput));
    EXPECT_FALSE(p.platform.TimerRunning(kTimerSpeedUp));
    EXPECT_TRUE(p.platform.TimerRunning(kTimerTitleStep));
    // The game sped up on the way: 5 ms per 10 s, never below 195.
    EXPECT_LT(p.game().gamespeed, 350);
    EXPECT_GE(p.game().gamespeed, 195);
}

// The input tick comes every 60 ms, the piece falls every 350 ms at first: the ticks between
// change nothing on screen and compose no frame.
TEST(GameShellPlay, OnlyTicksThatChangeTheGameComposeAFrame) {
    Program p;
    p.LaunchAndPlay(1, 1);
    p.platform.RunFor(1000);
    const int framesBefore = p.screen.gameFrames;
    const std::size_t linesBefore = p.log.lines.size();
    const std::int32_t rowBefore = p.game().AktuellerSpielStein1.y;
    p.platform.RunFor(1050);
    const int frames = p.screen.gameFrames - framesBefore;
    const int fallen = p.game().AktuellerSpielStein1.y - rowBefore;
    ASSERT_GT(fallen, 0);
    EXPECT_GE(frames, fallen) << "every step down is shown";
    EXPECT_LE(frames, 1050 / 195 + 1) << "not one frame per input tick";

    // Each step down repaints the rows of the piece's box before and after, with a row of
    // margin for what reaches across (cell outlines, the bomb), and the score line at the top,
    // as a step down scores; nothing below.
    EXPECT_FALSE(p.log.ContainsFrom("InvalidateAll", linesBefore));
    const int pieceRow = p.game().AktuellerSpielStein1.y;
    const std::string lastStep = "InvalidateRows 0 " + std::to_string((pieceRow + 5) * 20 + 1);
    EXPECT_TRUE(p.log.ContainsFrom(lastStep, linesBefore)) << lastStep;

    // A move sideways scores nothing: the rows above the piece stay as they are. (Right after
    // a step down and its repaint, so that no step falls into the same input tick.)
    const std::int32_t row = p.game().AktuellerSpielStein1.y;
    p.platform.RunUntil([&] { return p.game().AktuellerSpielStein1.y != row; }, 400);
    p.platform.RunFor(60);
    const std::size_t linesBeforeMove = p.log.lines.size();
    const std::int32_t column = p.game().AktuellerSpielStein1.x;
    p.platform.Press(37);  // cursor left
    p.platform.RunFor(60);
    ASSERT_EQ(p.game().AktuellerSpielStein1.x, column - 1);
    const auto band = std::find_if(
        p.log.lines.begin() + static_cast<std::ptrdiff_t>(linesBeforeMove), p.log.lines.end(),
        [](const std::string& line) { return line.starts_with("InvalidateRows "); });
    ASSERT_NE(band, p.log.lines.end());
    EXPECT_GT(std::stoi(band->substr(std::string("InvalidateRows ").size())), 0) << *band;
}

TEST(GameShellPlay, FightBoutsStartedByPaintResetTheSpeedButNotThoseStartedByATick) {
    Program p;
    p.LaunchAndPlay(2, 2);

    // A first bout decided by gravity alone, after the first speed-up.
    p.platform.RunFor(10 * 1000 + 400);
    ASSERT_EQ(p.game().gamespeed, 345);
    const int byGravity = p.platform.RunUntil([&] { return p.Bouts() == 1; }, 30 * kMinute);
    ASSERT_EQ(byGravity, kTimerGravity);
    EXPECT_EQ(p.game().GameInit, 1);
    std::size_t mark = p.log.lines.size();
    // The next tick initialises the bout itself: speed and timers stay as they were.
    const int initialisedBy = p.platform.RunUntil([&] { return p.game().GameInit == 0; }, 1000);
    EXPECT_TRUE(initialisedBy == kTimerInput || initialisedBy == kTimerGravity) << initialisedBy;
    EXPECT_LE(p.game().gamespeed, 345);
    EXPECT_FALSE(p.log.ContainsFrom("SetTimer 12 350", mark));
    EXPECT_FALSE(p.log.ContainsFrom("SetTimer 13 60", mark));

    // Player 1 holds the down key: the next bout ends on an input tick, and the paint that
    // tick asks for starts the following bout afresh.
    p.platform.Hold(kVkS);
    const int byInput = p.platform.RunUntil([&] { return p.Bouts() == 2; }, 30 * kMinute);
    ASSERT_EQ(byInput, kTimerInput);
    ASSERT_EQ(p.game().GameInit, 1);
    ASSERT_LT(p.game().gamespeed, 350);
    mark = p.log.lines.size();
    EXPECT_EQ(p.platform.Step(p.platform.Now()), VirtualPlatform::kPaint);
    EXPECT_EQ(p.game().GameInit, 0);
    EXPECT_EQ(p.game().gamespeed, 350);
    EXPECT_TRUE(p.log.HasInOrder({"SetTimer 12 350", "SetTimer 16 10000", "SetTimer 13 60"}, mark));
    EXPECT_EQ(p.game().iGameStatus, kStatusFaceToFace);

    // Fought to the end: one message, the title screen, nothing offered for the table.
    p.platform.RunUntil([&] { return p.OnTitleScreen(); }, 60 * kMinute);
    ASSERT_TRUE(p.OnTitleScreen());
    ASSERT_EQ(p.platform.messages.size(), 1u);
    EXPECT_EQ(p.platform.messages[0].second, "End of Fight");
    ASSERT_EQ(p.hiscores.offers.size(), 2u);
    EXPECT_EQ(p.hiscores.offers[1].noScore, 1);
    EXPECT_EQ(p.game().won1 + p.game().won2, 0);
}

TEST(GameShellPlay, MenuDialogsDoNotPauseTheGame) {
    Program p;
    p.LaunchAndPlay(1, 1);
    p.platform.RunFor(100);
    const int rowBefore = p.game().AktuellerSpielStein1.y;
    p.platform.whileModal = [&] { p.platform.RunFor(1000); };

    p.shell.OnCommand(kCmdGameInfo);
    EXPECT_EQ(p.platform.infoDialogs, 1);
    EXPECT_GT(p.game().AktuellerSpielStein1.y, rowBefore);

    p.shell.OnCommand(kCmdAbout);
    p.shell.OnCommand(kCmdHiscore);
    EXPECT_EQ(p.platform.aboutDialogs, 1);
    EXPECT_EQ(p.hiscores.tablesShown, 1);
}

TEST(GameShellPause, QuitWhilePausedThenTheNextGameRunsUnpaused) {
    Program p;
    p.LaunchAndPlay(1, 1);
    p.platform.RunFor(100);
    p.PressPause();
    ASSERT_EQ(p.game().gamePause, 1);
    ASSERT_EQ(p.game().STOP, 1);
    const int frames = p.screen.gameFrames;
    const int row = p.game().AktuellerSpielStein1.y;
    p.platform.RunFor(2000);
    EXPECT_EQ(p.game().AktuellerSpielStein1.y, row);  // paused: the picture stands still
    EXPECT_EQ(p.screen.gameFrames, frames);

    // No frames are requested while paused, so the command itself brings the paint.
    p.shell.OnCommand(kCmdQuitGame);
    p.platform.DeliverPaints();
    ASSERT_TRUE(p.OnTitleScreen());
    EXPECT_EQ(p.game().gamePause, 0);
    EXPECT_EQ(p.game().STOP, 0);

    p.StartGame(1, 1);
    p.platform.RunFor(2000);
    EXPECT_EQ(p.game().gamePause, 0);
    EXPECT_GT(p.game().AktuellerSpielStein1.y, 0);
}

TEST(GameShellPause, PauseKeyOnTheTitleScreenDoesNothing) {
    Program p;
    p.Launch();
    p.platform.Press(kVkP);
    p.platform.RunFor(1000);
    EXPECT_EQ(p.game().gamePause, 0);

    p.StartGame(1, 1);
    p.platform.RunFor(1000);
    EXPECT_EQ(p.game().gamePause, 0);
    EXPECT_EQ(p.game().STOP, 0);
    EXPECT_GT(p.game().AktuellerSpielStein1.y, 0);
}

TEST(GameShellPause, SpeedUpRequestsDuringAPauseMergeIntoOne) {
    Program p;
    p.LaunchAndPlay(1, 1);
    p.PressPause();
    ASSERT_EQ(p.game().gamePause, 1);

    p.platform.RunFor(35 * 1000);  // three speed-up requests
    EXPECT_EQ(p.game().gamespeedup, 1);
    EXPECT_EQ(p.game().gamespeed, 350);
    EXPECT_EQ(p.platform.TimerInterval(kTimerGravity), 350);

    p.platform.Press(kVkP);
    const std::size_t mark = p.log.lines.size();
    p.platform.RunUntil([&] { return p.game().gamespeedup == 0; }, 1000);
    EXPECT_EQ(p.game().gamespeed, 345);
    EXPECT_EQ(p.platform.TimerInterval(kTimerGravity), 345);
    p.platform.RunFor(3000);
    EXPECT_EQ(p.game().gamespeed, 345);
    EXPECT_EQ(p.log.Count("SetTimer 12 345"), 1u);
    EXPECT_FALSE(p.log.ContainsFrom("SetTimer 12 340", mark));
}

TEST(GameShellMusic, PollAndSkipHoldTheGameStillWithoutEndingAPause) {
    Program p;
    p.LaunchAndPlay(1, 1);

    p.platform.RunFor(10 * 1000);                  // the music poll
    ASSERT_EQ(p.music.stopDuringPlay.size(), 2u);  // window creation, then the poll
    EXPECT_EQ(p.music.stopDuringPlay[1], 1);
    EXPECT_EQ(p.game().STOP, 0);

    p.shell.OnCommand(kCmdSkipMusic);
    ASSERT_EQ(p.music.skips, 1);
    EXPECT_EQ(p.music.stopDuringSkip[0], 1);
    EXPECT_EQ(p.game().STOP, 0);

    p.PressPause();
    ASSERT_EQ(p.game().gamePause, 1);
    p.shell.OnCommand(kCmdSkipMusic);
    EXPECT_EQ(p.music.skips, 2);
    p.platform.RunFor(10 * 1000);
    EXPECT_EQ(p.music.stopDuringPlay.back(), 1);
    EXPECT_EQ(p.game().STOP, 1);
    EXPECT_EQ(p.game().gamePause, 1);

    // While the song is paused, skipping does nothing.
    p.music.mpauseValue = 1;
    p.shell.OnCommand(kCmdSkipMusic);
    EXPECT_EQ(p.music.skips, 2);
}

TEST(GameShellMusic, PlayAndStopToggleTheSongOnlyWhenNeeded) {
    Program p;
    p.Launch();

    p.shell.OnCommand(kCmdMusicPlay);  // plays already: only the marks
    EXPECT_EQ(p.music.pauseToggles, 0);
    p.shell.OnCommand(kCmdMusicStop);
    EXPECT_EQ(p.music.pauseToggles, 1);
    EXPECT_EQ(p.music.mpauseValue, 1);
    EXPECT_FALSE(p.platform.menuChecked[kCmdMusicPlay]);
    EXPECT_TRUE(p.platform.menuChecked[kCmdMusicStop]);
    p.shell.OnCommand(kCmdMusicStop);
    EXPECT_EQ(p.music.pauseToggles, 1);
    p.shell.OnCommand(kCmdMusicPlay);
    EXPECT_EQ(p.music.pauseToggles, 2);
    EXPECT_EQ(p.music.mpauseValue, 0);
    EXPECT_TRUE(p.platform.menuChecked[kCmdMusicPlay]);
    EXPECT_FALSE(p.platform.menuChecked[kCmdMusicStop]);
}

TEST(GameShellMenu, BackgroundChoiceReachesTheFrameAndMovesTheMarks) {
    Program p;
    p.LaunchAndPlay(1, 1);
    p.shell.OnCommand(kCmdWhite);
    p.platform.RunFor(60);
    EXPECT_EQ(p.screen.lastBackground, 0);
    EXPECT_FALSE(p.platform.menuChecked[kCmdPicture]);
    EXPECT_TRUE(p.platform.menuChecked[kCmdWhite]);
    p.shell.OnCommand(kCmdPicture);
    p.platform.RunFor(60);
    EXPECT_EQ(p.screen.lastBackground, 1);
    EXPECT_TRUE(p.platform.menuChecked[kCmdPicture]);
    EXPECT_FALSE(p.platform.menuChecked[kCmdWhite]);

    // Unknown commands and a stray "Quit Game" on the title screen change nothing.
    p.shell.OnCommand(kCmdQuitGame);
    p.platform.DeliverPaints();
    ASSERT_TRUE(p.OnTitleScreen());
    const std::size_t lines = p.log.lines.size();
    p.shell.OnCommand(kCmdQuitGame);
    p.shell.OnCommand(201);
    p.shell.OnTimer(14);
    p.platform.DeliverPaints();
    EXPECT_TRUE(p.OnTitleScreen());
    EXPECT_EQ(p.platform.dialogsCreated, 2);
    EXPECT_EQ(p.hiscores.offers.size(), 2u);
    EXPECT_FALSE(p.log.ContainsFrom("CreateStartDialog", lines));
}

TEST(GameShellWindow, TitleScreenFitsTheDialogAndAGameRestoresTheSize) {
    Program p;
    p.platform.window = Rect{100, 20, 509, 467};
    p.platform.dialogRect = Rect{104, 300, 704, 620};  // wider and lower than the window
    p.Launch();
    EXPECT_EQ(p.platform.window.left, 100);
    EXPECT_EQ(p.platform.window.top, 20);
    EXPECT_EQ(p.platform.window.Width(), 600);
    EXPECT_EQ(p.platform.window.Height(), 600);  // reaches down to the dialog's bottom
    EXPECT_EQ(p.state().WINBREITE, 600);
    EXPECT_EQ(p.state().WINCHANGE, 0);
    p.platform.RunFor(120);
    EXPECT_EQ(p.screen.lastTitleWidth, 600);
    EXPECT_EQ(p.screen.lastStepWidth, 600);
    EXPECT_FALSE(p.platform.presentOutsideSurface);  // the surface was made for 401 pixels

    p.StartGame(1, 1);
    EXPECT_EQ(p.platform.window.Width(), 409);
    EXPECT_EQ(p.platform.window.Height(), 447);
}

TEST(GameShellHelp, HelpPathKeepsALongWorkingDirectoryWhole) {
    const std::string deep = "/home/" + std::string(100, 'a') + "/" + std::string(100, 'b') + "/" +
                             std::string(100, 'c');
    // Joined with the system's own separator.
    const std::string expected = (std::filesystem::path(deep) / "Blokfall.hlp").string();

    Program p(deep);
    p.Launch();
    p.shell.OnCommand(kCmdHelpFile);
    p.shell.OnCommand(kCmdHelpFile);

    ASSERT_GT(expected.size(), 300u);
    ASSERT_EQ(p.platform.helpPaths.size(), 2u);  // every choice starts a viewer
    EXPECT_EQ(p.platform.helpPaths[0], expected);
    EXPECT_EQ(p.platform.helpPaths[1], expected);
}

TEST(GameShellHelp, WithoutAWorkingDirectoryTheBareNameIsOpened) {
    Program p("");
    p.Launch();
    p.shell.OnCommand(kCmdHelpFile);
    ASSERT_EQ(p.platform.helpPaths.size(), 1u);
    EXPECT_EQ(p.platform.helpPaths[0], "Blokfall.hlp");
}

// Every way out shuts down once, in order, posts quit 0, and the program does nothing after.
enum class WayOut { FileQuit, WindowClosed, ExitButton, QuitThenDestroyed };

class GameShellWayOut : public testing::TestWithParam<WayOut> {};

TEST_P(GameShellWayOut, ShutsDownOnceAndStillSavesTheTable) {
    Program p;
    p.Launch();
    if (GetParam() != WayOut::ExitButton) p.StartGame(1, 1);
    p.platform.RunFor(500);
    const std::size_t mark = p.log.lines.size();

    switch (GetParam()) {
        case WayOut::FileQuit:
            p.shell.OnCommand(kCmdQuit);
            break;
        case WayOut::WindowClosed:
            p.shell.OnDestroy();
            break;
        case WayOut::ExitButton:
            p.shell.StartDialogCommand(kDlgExit);
            EXPECT_EQ(p.game().iGameStatus, kStatusExit);
            EXPECT_FALSE(p.platform.dialogOpen);
            p.platform.DeliverPaints();
            break;
        case WayOut::QuitThenDestroyed:
            p.shell.OnCommand(kCmdQuit);
            p.shell.OnDestroy();  // the window goes away after the loop has been told to end
            break;
    }

    EXPECT_TRUE(p.log.HasInOrder(
        {"KillTimer 13", "KillTimer 12", "KillTimer 16", "KillTimer 11", "KillTimer 10",
         "KillTimer 15", "Music.musicKill", "Screen.Release", "PostQuit 0"},
        mark));
    EXPECT_EQ(p.music.kills, 1);
    EXPECT_EQ(p.screen.releases, 1);
    EXPECT_EQ(p.log.Count("PostQuit 0"), 1u);
    ASSERT_EQ(p.platform.quitCode, 0);
    EXPECT_FALSE(p.AnyTimerRunning());

    // Nothing is handled any more.
    const int titleFrames = p.screen.titleFrames;
    const int gameFrames = p.screen.gameFrames;
    const std::size_t lines = p.log.lines.size();
    p.shell.OnPaint();
    for (int id = 10; id <= 16; ++id) p.shell.OnTimer(id);
    p.shell.OnCommand(kCmdQuit);
    p.shell.OnDestroy();
    EXPECT_EQ(p.screen.titleFrames, titleFrames);
    EXPECT_EQ(p.screen.gameFrames, gameFrames);
    EXPECT_EQ(p.log.lines.size(), lines);

    EXPECT_EQ(p.shell.AfterLoop(), 0);
    EXPECT_EQ(p.hiscores.saves, 1);
}

const char* const kWayOutNames[] = {"FileQuit", "WindowClosed", "ExitButton", "QuitThenDestroyed"};

INSTANTIATE_TEST_SUITE_P(All, GameShellWayOut,
                         testing::Values(WayOut::FileQuit, WayOut::WindowClosed, WayOut::ExitButton,
                                         WayOut::QuitThenDestroyed),
                         [](const testing::TestParamInfo<WayOut>& way) -> std::string {
                             return kWayOutNames[static_cast<int>(way.param)];
                         });

TEST(GameShellFailure, StartDialogThatCannotBeCreatedEndsTheProgram) {
    Program p;
    p.platform.dialogCreatable = false;
    p.Launch();
    EXPECT_EQ(p.platform.quitCode, 0);
    EXPECT_EQ(p.music.kills, 1);
    EXPECT_EQ(p.screen.titleFrames, 0);
    EXPECT_FALSE(p.AnyTimerRunning());
    EXPECT_EQ(p.shell.AfterLoop(), 0);
    EXPECT_EQ(p.hiscores.saves, 1);
}

TEST(GameShellFailure, WindowClosedDuringTheNameDialogStartsNothingAfterwards) {
    Program p;
    p.LaunchAndPlay(1, 1);
    p.hiscores.whileChecking = [&] { p.shell.OnDestroy(); };
    p.shell.OnCommand(kCmdQuitGame);
    p.platform.DeliverPaints();

    EXPECT_EQ(p.platform.quitCode, 0);
    EXPECT_EQ(p.music.kills, 1);
    EXPECT_EQ(p.platform.dialogsCreated, 1);
    EXPECT_FALSE(p.AnyTimerRunning());
}

}  // namespace
}  // namespace blok
