// Shapes, collision, rotation and the writing of landed pieces and bombs.
#include <string>

#include "game_fixture.h"

namespace blok::testing {
namespace {

using PiecesTest = GameTest;

std::string Picture(const Matrix& m) {
    std::string rows;
    for (std::size_t dy = 0; dy < 4; ++dy) {
        for (std::size_t dx = 0; dx < 4; ++dx) rows += m[dx][dy] != 0 ? 'X' : '.';
        rows += '/';
    }
    return rows;
}

TEST(Shapes, TableMatchesThePictures) {
    const char* pictures[8] = {
        "..../.XX./.XX./..../",  // square
        "..../XXXX/..../..../",  // bar
        ".X../.XX./.X../..../",  // T
        "..X./.XX./.X../..../",  // Z
        ".X../.XX./..X./..../",  // S
        ".XX./.X../.X../..../",  // J
        ".X../.X../.XX./..../",  // L
        "X.../..../..../..../",  // bomb
    };
    for (std::size_t shape = 0; shape < 8; ++shape) {
        EXPECT_EQ(Picture(Stein[shape]), pictures[shape]) << "shape " << shape;
    }
}

TEST(Shapes, GetStoneCopiesOnlyExistingShapes) {
    Matrix m{};
    for (auto& column : m) column.fill(5);
    const Matrix before = m;
    Game::GetStone(-1, m);
    EXPECT_EQ(m, before);
    Game::GetStone(8, m);
    EXPECT_EQ(m, before);
    Game::GetStone(3, m);
    EXPECT_EQ(m, Stein[3]);
}

TEST_F(PiecesTest, FieldCellsBlockFromOneToNine) {
    Start(kStatusOnePlayer);
    const Matrix probe = Stein[kBomb];
    for (int v = -3; v <= 12; ++v) {
        Cell(5, 5) = static_cast<std::int16_t>(v);
        const int expected = v >= 1 && v <= 9 ? 1 : 0;
        EXPECT_EQ(game.StoneCollision(5, 5, probe, 20, 20, Matrix{}), expected) << "value " << v;
    }
}

TEST_F(PiecesTest, PenaltyCellOnColourOneIsExcusedAlone) {
    Start(kStatusFaceToFace);
    const Matrix probe = Stein[kBomb];
    Cell(5, 5) = kPenalty;
    Cell(5, 6) = 1;
    EXPECT_EQ(game.StoneCollision(5, 5, probe, 20, 20, Matrix{}), 0);
    Cell(5, 6) = 2;
    EXPECT_EQ(game.StoneCollision(5, 5, probe, 20, 20, Matrix{}), 1) << "only colour 1 excuses";

    // In row 19 the exception never applies, whatever lies below.
    Cell(5, 19) = kPenalty;
    Cell(5, 20) = 1;
    EXPECT_EQ(game.StoneCollision(5, 19, probe, 20, 20, Matrix{}), 1);

    // A bar in row 7 of the field: the excused cell does not hide a wall, before or after it.
    const Matrix bar = Stein[kBar];  // cells in row 1 of its box
    Cell(3, 7) = kPenalty;
    Cell(3, 8) = 1;
    EXPECT_EQ(game.StoneCollision(2, 6, bar, 20, 20, Matrix{}), 0) << "columns 2..5 free";
    EXPECT_EQ(game.StoneCollision(0, 6, bar, 20, 20, Matrix{}), 1) << "wall in column 1 first";
    Cell(9, 7) = kPenalty;
    Cell(9, 8) = 1;
    EXPECT_EQ(game.StoneCollision(9, 6, bar, 20, 20, Matrix{}), 1) << "wall in column 12 last";
}

TEST_F(PiecesTest, OtherPieceBlocksOnlyInTwoPlayerGames) {
    const Matrix probe = Stein[kBomb];
    const Matrix other = Stein[kSquare];  // at (5, 10): cells (6..7, 11..12)
    for (int status : {kStatusOnePlayer, kStatusCooperative, kStatusFaceToFace}) {
        Start(status);
        const int onPiece = status == kStatusOnePlayer ? 0 : 2;
        EXPECT_EQ(game.StoneCollision(6, 11, probe, 5, 10, other), onPiece) << status;
        EXPECT_EQ(game.StoneCollision(5, 10, probe, 5, 10, other), 0)
            << "empty corner of the other box, status " << status;
        Cell(7, 12) = 4;
        EXPECT_EQ(game.StoneCollision(7, 12, probe, 5, 10, other), 1)
            << "field hit wins, status " << status;
    }
}

TEST_F(PiecesTest, EverythingOutsideTheFieldBlocks) {
    Start(kStatusOnePlayer);
    const Matrix square = Stein[kSquare];
    const Matrix bar = Stein[kBar];
    EXPECT_EQ(game.StoneCollision(47, 5, square, 0, 0, Matrix{}), 0) << "columns 48..49 exist";
    EXPECT_EQ(game.StoneCollision(48, 5, square, 0, 0, Matrix{}), 1);
    EXPECT_EQ(game.StoneCollision(48, 5, bar, 0, 0, Matrix{}), 1);
    EXPECT_EQ(game.StoneCollision(30, 28, square, 0, 0, Matrix{}), 1) << "rows 29 and 30";
    EXPECT_EQ(game.StoneCollision(-2, 25, square, 0, 0, Matrix{}), 1) << "column -1";
    EXPECT_EQ(game.StoneCollision(30, -2, square, 0, 0, Matrix{}), 1) << "row -1";
}

TEST_F(PiecesTest, LandingWritesOnlyInsideTheField) {
    Start(kStatusOnePlayer);
    const Field before = game.SpielFeld;
    game.Stone2Area(48, 27, Stein[kSquare], 4, 2);
    EXPECT_EQ(Cell(49, 28), 4);
    EXPECT_EQ(Cell(49, 29), 4);
    Cell(49, 28) = Cell(49, 29) = 0;
    EXPECT_EQ(game.SpielFeld, before);

    game.Stone2Area(60, -5, Stein[kSquare], 4, 2);
    game.Stone2Area(60, -5, Stein[kBomb], 4, 3);
    EXPECT_EQ(game.SpielFeld, before);

    game.Stone2Area(49, 29, Stein[kBomb], 4, 3);
    EXPECT_EQ(Cell(49, 29), kBlast);
    EXPECT_EQ(Cell(48, 20), kWall) << "the floor is never blasted";
}

TEST_F(PiecesTest, LandingIgnoresPiecesThatAreNotThere) {
    Start(kStatusOnePlayer);
    const Field before = game.SpielFeld;
    for (int type : {0, 1, 4}) game.Stone2Area(5, 5, Stein[kSquare], 3, type);
    EXPECT_EQ(game.SpielFeld, before);
    game.Stone2Area(5, 5, Stein[kSquare], 3, 2);
    EXPECT_EQ(Cell(6, 6), 3);
    EXPECT_EQ(Cell(7, 7), 3);
    EXPECT_EQ(Cell(5, 5), 0);
}

TEST_F(PiecesTest, BombEmptiesItsBlockButNeverWallsOrFloor) {
    Start(kStatusFaceToFace);
    for (int x = 2; x <= 4; ++x) {
        for (int y = 8; y <= 12; ++y) Cell(x, y) = static_cast<std::int16_t>(x == 3 ? kPenalty : 5);
    }
    game.Stone2Area(2, 10, Stein[kBomb], 1, 3);
    for (int y = 9; y <= 11; ++y) {
        EXPECT_EQ(Cell(1, y), kWall);
        EXPECT_EQ(Cell(3, y), 0) << "penalty cells go too";
        EXPECT_EQ(Cell(4, y), 5) << "column 4 is outside the blast";
    }
    EXPECT_EQ(Cell(2, 10), kBlast);
    EXPECT_EQ(Cell(2, 9), 0);
    EXPECT_EQ(Cell(2, 8), 5) << "cells above do not fall into the hole";
    EXPECT_EQ(Cell(2, 12), 5);

    for (int y : {17, 18, 19}) FillRow(y, 2, 10);
    game.Stone2Area(6, 19, Stein[kBomb], 1, 3);
    EXPECT_EQ(CountInRow(20, 0, 50, kWall), 50);
    EXPECT_EQ(CountInRow(19, 5, 3, 0), 2);
    EXPECT_EQ(Cell(6, 19), kBlast);
    EXPECT_EQ(CountInRow(18, 5, 3, 0), 3);
    EXPECT_EQ(CountInRow(17, 2, 10, 3), 10);

    for (int y : {0, 1, 2}) FillRow(y, 2, 10);
    game.Stone2Area(6, 0, Stein[kBomb], 1, 3);
    EXPECT_EQ(Cell(6, 0), kBlast);
    EXPECT_EQ(CountInRow(0, 5, 3, 0), 2);
    EXPECT_EQ(CountInRow(1, 5, 3, 0), 3);
    EXPECT_EQ(CountInRow(2, 2, 10, 3), 10);
}

TEST_F(PiecesTest, BlastMarkerLetsPiecesThrough) {
    Start(kStatusOnePlayer);
    game.Stone2Area(6, 10, Stein[kBomb], 1, 3);
    EXPECT_EQ(game.StoneCollision(5, 9, Stein[kSquare], 0, 0, Matrix{}), 0);
}

TEST_F(PiecesTest, BarCyclesThroughFourPositions) {
    Start(kStatusCooperative);
    Matrix bar = Stein[kBar];
    const char* turns[4] = {
        ".X../.X../.X../.X../",  // column 1
        "..../..../XXXX/..../",  // row 2
        "..X./..X./..X./..X./",  // column 2
        "..../XXXX/..../..../",  // row 1 again
    };
    for (const char* expected : turns) {
        game.RotateStone(8, 8, bar, 40, 20, Matrix{});
        EXPECT_EQ(Picture(bar), expected);
    }
    Matrix square = Stein[kSquare];
    game.RotateStone(8, 8, square, 40, 20, Matrix{});
    EXPECT_EQ(square, Stein[kSquare]);
}

TEST_F(PiecesTest, TurnIsRefusedRatherThanShifted) {
    // An upright bar in field column 2: turned, it would reach into the wall.
    Start(kStatusOnePlayer);
    Matrix upright = Stein[kBar];
    game.RotateStone(8, 8, upright, 40, 20, Matrix{});
    Matrix bar = upright;
    game.RotateStone(1, 8, bar, 40, 20, Matrix{});
    EXPECT_EQ(bar, upright);

    // The turned bar would cover (8..11, 10), where the other piece has a cell.
    Matrix other{};
    other[0][0] = 1;
    for (int status : {kStatusCooperative, kStatusFaceToFace, kStatusOnePlayer}) {
        Start(status);
        bar = upright;
        game.RotateStone(8, 8, bar, 10, 10, other);
        if (status == kStatusOnePlayer) {
            EXPECT_NE(bar, upright) << "the other piece does not count for one player";
        } else {
            EXPECT_EQ(bar, upright) << status;
        }
    }
}

}  // namespace
}  // namespace blok::testing
