// The running game's ticks: gravity with its speed schedule, the input tick with pause and keys,
// and the start from the paint handler.
#include <array>
#include <vector>

#include "game_fixture.h"

namespace blok::testing {
namespace {

class TicksTest : public GameTest {
  protected:
    void PressPause() { host.Press(kKeyP); }
};

TEST_F(TicksTest, GravityMovesBothPiecesOneRow) {
    StartWithPieces(kStatusCooperative);
    game.GravityTick();
    EXPECT_EQ(game.AktuellerSpielStein1.y, 1);
    EXPECT_EQ(game.AktuellerSpielStein2.y, 1);
    EXPECT_EQ(game.Up1Points, 1u);
    EXPECT_EQ(game.Up2Points, 1u);
    EXPECT_TRUE(host.restarts.empty()) << "no speed-up was due";
}

TEST_F(TicksTest, StopFreezesBothTicks) {
    StartWithPieces(kStatusCooperative);
    game.STOP = 1;
    game.SpeedUpTick();
    host.Press(game.key1left);
    host.held.insert(game.key2down & 0xFF);
    const figure one = game.AktuellerSpielStein1;
    const figure two = game.AktuellerSpielStein2;

    game.GravityTick();
    EXPECT_FALSE(game.InputTick()) << "no repaint while stopped";

    EXPECT_EQ(game.gamespeedup, 1) << "the speed-up waits";
    EXPECT_EQ(game.gamespeed, kStartSpeedMs);
    EXPECT_TRUE(host.restarts.empty());
    EXPECT_EQ(game.AktuellerSpielStein1.x, one.x);
    EXPECT_EQ(game.AktuellerSpielStein1.y, one.y);
    EXPECT_EQ(game.AktuellerSpielStein2.y, two.y);
    EXPECT_EQ(game.isDown1 + game.isDown2 + game.isLeft1, 0);
    EXPECT_EQ(host.pressed.count(game.key1left & 0xFF), 1u) << "the press is not read";
}

TEST_F(TicksTest, PauseKeyTogglesOnlyWhileAGameRuns) {
    StartWithPieces(kStatusOnePlayer);
    PressPause();
    EXPECT_FALSE(game.InputTick());
    EXPECT_EQ(game.gamePause, 1);
    EXPECT_EQ(game.STOP, 1);
    EXPECT_FALSE(game.InputTick()) << "stays paused without a new press";
    PressPause();
    EXPECT_TRUE(game.InputTick());
    EXPECT_EQ(game.gamePause, 0);
    EXPECT_EQ(game.STOP, 0);

    for (int status : {kStatusTitlePending, kStatusTitle}) {
        game.iGameStatus = status;
        PressPause();
        game.InputTick();
        EXPECT_EQ(game.gamePause, 0) << status;
        EXPECT_EQ(host.pressed.count(kKeyP), 1u) << "not even read, status " << status;
        host.pressed.clear();
    }
}

TEST_F(TicksTest, SpeedUpsDuringAPauseMergeIntoOne) {
    StartWithPieces(kStatusOnePlayer);
    PressPause();
    game.InputTick();
    for (int i = 0; i < 3; ++i) {
        game.SpeedUpTick();
        game.GravityTick();
    }
    PressPause();
    game.InputTick();
    game.GravityTick();
    game.GravityTick();
    EXPECT_EQ(game.gamespeed, kStartSpeedMs - kSpeedStepMs);
    EXPECT_EQ(host.restarts, std::vector<int>{kStartSpeedMs - kSpeedStepMs});
}

TEST_F(TicksTest, SpeedFallsToItsFloorAndTheTimerStillRestarts) {
    StartWithPieces(kStatusOnePlayer);
    for (int i = 0; i < 33; ++i) {
        game.SpeedUpTick();
        game.GravityTick();
    }
    ASSERT_EQ(host.restarts.size(), 33u);
    EXPECT_EQ(host.restarts[0], 345);
    EXPECT_EQ(host.restarts[29], 200);
    EXPECT_EQ(host.restarts[30], kFastestSpeedMs) << "after 31 speed-ups";
    EXPECT_EQ(host.restarts[31], kFastestSpeedMs);
    EXPECT_EQ(host.restarts[32], kFastestSpeedMs);
    EXPECT_EQ(game.gamespeed, kFastestSpeedMs);

    // The next game from the paint handler starts slow again with no speed-up pending.
    game.SpeedUpTick();
    Start(kStatusOnePlayer);
    EXPECT_EQ(game.gamespeed, kStartSpeedMs);
    EXPECT_EQ(game.gamespeedup, 0);
}

TEST_F(TicksTest, KeysFollowTheGameType) {
    using Keys = std::array<int, 4>;  // left, right, turn, down
    const Keys cursor{kKeyLeft, kKeyRight, kKeyUp, kKeyDown};
    const Keys letters{kKeyA, kKeyD, kKeyW, kKeyS};
    for (int status : {kStatusCooperative, kStatusOnePlayer, kStatusFaceToFace}) {
        Start(status);
        const bool alone = status == kStatusOnePlayer;
        EXPECT_EQ((Keys{game.key1left, game.key1right, game.key1up, game.key1down}),
                  alone ? cursor : letters)
            << status;
        EXPECT_EQ((Keys{game.key2left, game.key2right, game.key2up, game.key2down}),
                  alone ? letters : cursor)
            << status;
    }
}

TEST_F(TicksTest, PressesBeforeTheStartAreDiscarded) {
    for (int code : {kKeyA, kKeyD, kKeyW, kKeyS, kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyP}) {
        host.Press(code);
    }
    StartWithPieces(kStatusFaceToFace);
    EXPECT_TRUE(host.pressed.empty());
    const figure one = game.AktuellerSpielStein1;
    EXPECT_TRUE(game.InputTick());
    EXPECT_EQ(game.gamePause, 0);
    EXPECT_EQ(game.AktuellerSpielStein1.x, one.x);
    EXPECT_EQ(game.AktuellerSpielStein1.stone, one.stone);
}

TEST_F(TicksTest, InputTickTurnsKeysIntoMoves) {
    StartWithPieces(kStatusCooperative);
    Place(game.AktuellerSpielStein1, kBar, 3, 5);
    Place(game.AktuellerSpielStein2, kBar, 14, 5);
    host.Press(kKeyD);                  // player 1 right, pressed and released
    host.held.insert(kKeyS);            // player 1 down, held
    host.held.insert(kKeyLeft & 0xFF);  // player 2 left, held
    host.held.insert(kKeyUp & 0xFF);    // player 2 turn, held but not newly pressed
    EXPECT_TRUE(game.InputTick());
    EXPECT_EQ(game.AktuellerSpielStein1.x, 4);
    EXPECT_EQ(game.AktuellerSpielStein1.y, 6);
    EXPECT_EQ(game.AktuellerSpielStein2.x, 13);
    EXPECT_EQ(game.AktuellerSpielStein2.stone, Stein[kBar]) << "a turn needs a fresh press";
    host.Press(kKeyUp);
    game.InputTick();
    EXPECT_NE(game.AktuellerSpielStein2.stone, Stein[kBar]);
}

}  // namespace
}  // namespace blok::testing
