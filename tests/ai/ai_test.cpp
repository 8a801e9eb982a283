// The computer player's view of the field against the rules themselves, its choice of a place
// and the requests that carry a piece there.
#include <gtest/gtest.h>

#include <random>

#include "board.h"
#include "computer_keys.h"
#include "computer_player.h"
#include "planner.h"

namespace blok {
namespace {

constexpr PlayArea kSolo{kLeftAreaColumn, kAreaWidth};

struct Table {
    Random random;
    NullGameHost host;
    Game game{random, host};
    Table() {
        game.iGameStatus = kStatusOnePlayer;
        game.GameInit = 1;
        game.GameGoOn();  // builds the walls and the floor
    }
    void Fill(int column, int fromRow, std::int16_t value = 3) {
        for (int y = fromRow; y < 20; ++y)
            game.SpielFeld[std::size_t(column)][std::size_t(y)] = value;
    }
};

// Random rubble in the lower rows, with penalty cells among it. Colour 1 is left out: a penalty
// cell on it lets a piece through, which the computer does not count on.
void Scatter(Table& t, std::mt19937& dice) {
    for (int x = kLeftAreaColumn; x < kLeftAreaColumn + kAreaWidth; ++x) {
        for (int y = 8; y < 20; ++y) {
            const auto roll = static_cast<unsigned>(dice() % 12);
            std::int16_t v = roll < 8 ? std::int16_t(2 + roll % 5) : kEmpty;
            if (roll == 8) v = kPenalty;
            t.game.SpielFeld[std::size_t(x)][std::size_t(y)] = v;
        }
    }
}

TEST(AiBoard, LandingAndRowRemovalMatchTheRulesOnRandomFields) {
    std::mt19937 dice(7);
    for (int round = 0; round < 400; ++round) {
        Table t;
        Scatter(t, dice);
        // Complete a few rows now and then, so that removal is exercised.
        if (round % 3 == 0) {
            for (int x = kLeftAreaColumn; x < kLeftAreaColumn + kAreaWidth; ++x) {
                if (x != 6) t.game.SpielFeld[std::size_t(x)][18] = 2;
            }
        }
        const int shape = int(dice() % kShapes);
        const int turns = shape == kBombShape ? 0 : int(dice() % kTurns);  // bombs never turn
        const ShapeTurn& s = TurnOf(shape, turns);
        Board model(t.game, kSolo);
        const int bx =
            -s.minDx + int(dice() % std::mt19937::result_type(kAreaWidth - (s.maxDx - s.minDx)));
        if (model.Blocked(s, bx, 0)) continue;
        const int y = model.DropRow(s, bx, 0);

        Matrix stone{};
        Game::GetStone(shape, stone);
        for (int k = 0; k < turns; ++k)
            t.game.RotateStone(30, 0, stone, 0, 0, Matrix{});  // free cells
        ASSERT_EQ(t.game.StoneCollision(bx + kLeftAreaColumn, y, stone, 0, 0, Matrix{}),
                  kCollisionNone);
        ASSERT_NE(t.game.StoneCollision(bx + kLeftAreaColumn, y + 1, stone, 0, 0, Matrix{}),
                  kCollisionNone);
        const bool bomb = shape == kBombShape;
        t.game.Stone2Area(bx + kLeftAreaColumn, y, stone, 4, bomb ? kPieceBomb : kPieceCells);
        t.game.KillRow(kLeftAreaColumn, kAreaWidth);
        int eroded = 0;
        const int removed = model.Land(s, bx, y, bomb, eroded);
        EXPECT_EQ(model, Board(t.game, kSolo)) << "round " << round << " shape " << shape;
        EXPECT_EQ(t.game.Up1Points, std::uint32_t(10 * removed));
        EXPECT_LE(eroded, removed * s.cells);
    }
}

TEST(AiBoard, PenaltyCellsKeepTheirRowAndFallingOnesComeToRest) {
    Table t;
    for (int x = kLeftAreaColumn; x < kLeftAreaColumn + kAreaWidth; ++x) t.Fill(x, 19);
    t.game.SpielFeld[4][19] = kPenalty;
    t.game.SpielFeld[7][2] = kPenalty;  // still falling
    Board b(t.game, kSolo);
    EXPECT_FALSE(b.Row(19) != b.FullRow());
    EXPECT_TRUE(b.HasPenalty(19));
    int eroded = 0;
    EXPECT_EQ(b.Land(TurnOf(0, 0), 0, 16, false, eroded), 0);  // the full row stays
    b.SettlePenalty();
    EXPECT_TRUE(b.HasPenalty(18));
    EXPECT_FALSE(b.HasPenalty(2));
}

TEST(AiPlanner, TheBarGoesUprightIntoTheOnlyWell) {
    Table t;
    for (int x = kLeftAreaColumn; x < kLeftAreaColumn + kAreaWidth; ++x) {
        if (x != kLeftAreaColumn + 8) t.Fill(x, 16);
    }
    const Board board(t.game, kSolo);
    const Planner planner(StyleOf(ComputerLevel::kHard).weights);
    const PiecePose bar{1, 0, kSpawnColumn1 - kLeftAreaColumn, 0};
    const Ranking r = planner.Rank(board, board, bar, Motion{}, Courtesy{});
    ASSERT_GT(r.count, 0);
    const ShapeTurn& s = TurnOf(1, r.targets[0].turns);
    EXPECT_EQ(s.maxDy - s.minDy, 3);              // upright
    EXPECT_EQ(r.targets[0].bx + s.minDx, 8);      // in the well
    EXPECT_EQ(r.targets[0].landY + s.maxDy, 19);  // down to the floor
    EXPECT_GE(r.targets[0].score, r.targets[1].score);
}

TEST(AiPlanner, APlaceBehindATowerOrOutOfTimeIsNotReached) {
    Table t;
    t.Fill(kLeftAreaColumn + 2, 2);  // a tower between the piece and the left wall
    const Board board(t.game, kSolo);
    const PiecePose square{0, 0, kSpawnColumn1 - kLeftAreaColumn, 0};
    int landY = 0;
    EXPECT_FALSE(Planner::Reach(board, board, square, 0, -1, Motion{}, landY));
    EXPECT_TRUE(Planner::Reach(board, board, square, 0, 6, Motion{}, landY));
    EXPECT_EQ(landY, 17);
    // Acting only every 20th tick while the piece falls every tick, it lands first.
    EXPECT_FALSE(Planner::Reach(board, board, square, 0, 6, Motion{1, 0, 20}, landY));
}

TEST(AiKeys, OnlyTheSteeredSidesKeysAnswerAndATurnIsOnePress) {
    Table t;
    t.game.iGameStatus = kStatusFaceToFace;
    t.game.GameInit = 1;
    t.game.GameGoOn();  // the two-player keys: letters left, cursor keys right
    ComputerKeys keys;
    keys.Steer(2, true);
    keys.Set(2, Requests{.left = true, .turn = true});
    EXPECT_FALSE(keys.Pressed(t.game, 'A').has_value());  // the person's
    EXPECT_EQ(keys.Held(t.game, kKeyLeft & 0xFF), true);
    EXPECT_EQ(keys.Pressed(t.game, kKeyUp & 0xFF), true);
    EXPECT_EQ(keys.Pressed(t.game, kKeyUp & 0xFF), false);
    EXPECT_EQ(keys.Held(t.game, kKeyUp & 0xFF), false);
    keys.Release();
    EXPECT_EQ(keys.Held(t.game, kKeyLeft & 0xFF), false);
}

// The ticks from a new piece to the computer's first request.
int FirstRequestTick(ComputerLevel level) {
    Table t;
    t.game.gamespeed = kStartSpeedMs;
    t.game.GameGoOn();  // the first piece
    ComputerPlayer computer(level, 1, 1);
    for (int tick = 0; tick < 40; ++tick) {
        if (computer.Poll(t.game).Count() > 0) return tick;
    }
    return -1;
}

TEST(AiPlayer, HarderLevelsReactSooner) {
    const int hard = FirstRequestTick(ComputerLevel::kHard);
    const int normal = FirstRequestTick(ComputerLevel::kNormal);
    const int easy = FirstRequestTick(ComputerLevel::kEasy);
    EXPECT_GE(hard, 0);
    EXPECT_LT(hard, normal);
    EXPECT_LT(normal, easy);
}

TEST(AiPlayer, NoRequestsOutsideAGameOrForASideThatIsNotPlaying) {
    Table t;
    t.game.GameGoOn();
    ComputerPlayer right(ComputerLevel::kHard, 2, 1);
    for (int tick = 0; tick < 10; ++tick) EXPECT_EQ(right.Poll(t.game).Count(), 0);
    t.game.iGameStatus = kStatusTitle;
    ComputerPlayer left(ComputerLevel::kHard, 1, 1);
    for (int tick = 0; tick < 10; ++tick) EXPECT_EQ(left.Poll(t.game).Count(), 0);
}

}  // namespace
}  // namespace blok
