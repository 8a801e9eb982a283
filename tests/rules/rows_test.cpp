// Removal of complete rows, the shift above them, penalty cells and their fall.
#include <set>

#include "game_fixture.h"

namespace blok::testing {
namespace {

class RowsTest : public GameTest {
  protected:
    std::array<std::int16_t, 10> Row(int y, int left = 2) {
        std::array<std::int16_t, 10> row{};
        for (int i = 0; i < 10; ++i) row[static_cast<std::size_t>(i)] = Cell(left + i, y);
        return row;
    }

    int PenaltyCellsInArea(int left) {
        int n = 0;
        for (int y = 0; y < 20; ++y) n += CountInRow(y, left, 10, kPenalty);
        return n;
    }
};

TEST_F(RowsTest, OnePlayerRemovesSeparatedRowsAndShiftsTheRest) {
    Start(kStatusOnePlayer);
    FillRowExcept(19, 2, 10);
    FillRowExcept(18, 2, 10, {6});
    FillRowExcept(17, 2, 10);
    Cell(4, 16) = 5;
    Cell(9, 15) = 6;
    const auto row18 = Row(18);

    game.KillRow(2, 10);

    EXPECT_EQ(game.Up1Points, 20u);
    EXPECT_EQ(Row(19), row18);
    EXPECT_EQ(Cell(4, 18), 5) << "row 16 moved down by two";
    EXPECT_EQ(Cell(9, 17), 6) << "row 15 moved down by two";
    EXPECT_EQ(Cell(4, 16), 0);
    EXPECT_EQ(Cell(9, 15), 0);
}

TEST_F(RowsTest, StackedRowsAllGo) {
    Start(kStatusOnePlayer);
    for (int y : {17, 18, 19}) FillRowExcept(y, 2, 10);
    FillRowExcept(16, 2, 10, {3});
    game.KillRow(2, 10);
    EXPECT_EQ(game.Up1Points, 30u);
    EXPECT_EQ(Cell(3, 19), 0);
    EXPECT_EQ(CountInRow(19, 2, 10, 0), 1);
    EXPECT_EQ(CountInRow(18, 2, 10, 0), 10);
}

TEST_F(RowsTest, PenaltyCellKeepsARowAndBlastMarkerCompletesIt) {
    Start(kStatusFaceToFace);
    FillRowExcept(19, 2, 10);
    Cell(7, 19) = kPenalty;
    const auto kept = Row(19);
    game.KillRow(2, 10);
    EXPECT_EQ(Row(19), kept);

    Start(kStatusOnePlayer);
    FillRowExcept(19, 2, 10);
    Cell(7, 19) = kBlast;
    game.KillRow(2, 10);
    EXPECT_EQ(game.Up1Points, 10u);
    EXPECT_EQ(CountInRow(19, 2, 10, 0), 10);
}

TEST_F(RowsTest, CooperativeRowSpansTwentyColumnsAndShiftsBothHalves) {
    Start(kStatusCooperative);
    FillRowExcept(19, 2, 20);
    FillRowExcept(18, 2, 20, {21});
    Cell(3, 17) = 4;
    Cell(20, 17) = 5;
    game.KillRow(2, 20);
    EXPECT_EQ(game.Up1Points, 40u);
    EXPECT_EQ(Cell(21, 19), 0) << "the incomplete row moved down and stays";
    EXPECT_EQ(CountInRow(19, 2, 20, 0), 1);
    EXPECT_EQ(Cell(3, 18), 4);
    EXPECT_EQ(Cell(20, 18), 5);
    EXPECT_EQ(Cell(22, 18), kWall);
}

TEST_F(RowsTest, RowZeroIsCopiedDownAndStays) {
    Start(kStatusCooperative);
    Cell(3, 0) = kPenalty;
    Cell(8, 0) = kPenalty;
    Cell(12, 0) = 5;  // the eleventh column is not part of the shift
    Cell(5, 3) = 2;
    const auto row0 = Row(0);
    game.RowDown(2, 4);
    EXPECT_EQ(Row(0), row0);
    EXPECT_EQ(Row(1), row0);
    EXPECT_EQ(Cell(5, 4), 2);
    EXPECT_EQ(Cell(5, 3), 0);
    EXPECT_EQ(Cell(12, 1), 0);
}

TEST_F(RowsTest, CompleteTopRowsDoNotRepeatForever) {
    // Row 0 is copied into row 1 at every shift; were it complete, it would come back for ever.
    Start(kStatusOnePlayer);
    FillRowExcept(0, 2, 10);
    FillRowExcept(1, 2, 10);
    FillRowExcept(19, 2, 10);
    game.KillRow(2, 10);
    EXPECT_EQ(game.Up1Points, 30u) << "each of the three rows once";
    for (int y = 0; y < 20; ++y) EXPECT_EQ(CountInRow(y, 2, 10, 0), 10) << "row " << y;
}

TEST_F(RowsTest, FaceToFaceSendsPenaltyCellsBelowOrAboveTheOpponentsPiece) {
    for (int opponentY : {0, 3}) {
        for (std::uint32_t seed = 1; seed <= 20; ++seed) {
            StartWithPieces(kStatusFaceToFace);
            game.AktuellerSpielStein2.y = opponentY;
            random.Seed(seed);
            Random picks(seed);
            std::set<int> columns;
            for (int i = 0; i < 4; ++i) columns.insert(picks.Next() % 10 + 13);

            FillRowExcept(19, 2, 10);
            game.KillRow(2, 10);

            const int targetRow = opponentY == 0 ? 5 : 0;
            EXPECT_EQ(CountInRow(targetRow, 13, 10, kPenalty), static_cast<int>(columns.size()));
            for (int x : columns) EXPECT_EQ(Cell(x, targetRow), kPenalty);
            EXPECT_EQ(PenaltyCellsInArea(13), static_cast<int>(columns.size()));
            EXPECT_EQ(PenaltyCellsInArea(2), 0);
            EXPECT_EQ(game.Up1Points + game.Up2Points, 0u);
        }
    }
}

TEST_F(RowsTest, FaceToFacePenaltyCellsNeverOverwrite) {
    StartWithPieces(kStatusFaceToFace);
    game.AktuellerSpielStein1.y = 7;
    FillRowExcept(0, 2, 10);
    const auto row0 = Row(0);
    FillRowExcept(19, 13, 10);
    game.KillRow(13, 10);
    EXPECT_EQ(Row(0), row0);
    EXPECT_EQ(CountInRow(19, 13, 10, 0), 10);
}

TEST_F(RowsTest, FaceToFaceEveryRemovedRowSends) {
    StartWithPieces(kStatusFaceToFace);
    game.AktuellerSpielStein2.y = 3;
    Random copy = random;
    for (int y : {17, 18, 19}) FillRowExcept(y, 2, 10);
    game.KillRow(2, 10);
    for (int i = 0; i < 12; ++i) copy.Next();
    EXPECT_EQ(random.Next(), copy.Next()) << "four picks for each of three rows";
    for (int y : {17, 18, 19}) EXPECT_EQ(CountInRow(y, 2, 10, 0), 10) << "row " << y;
}

class PenaltyFallTest : public RowsTest {
  protected:
    void SetUp() override {
        StartWithPieces(kStatusFaceToFace);
        Place(game.AktuellerSpielStein1, kSquare, 8, 0);   // cells in columns 9..10
        Place(game.AktuellerSpielStein2, kSquare, 19, 0);  // cells in columns 20..21
    }
};

TEST_F(PenaltyFallTest, FallsOneRowPerCallUntilItRests) {
    Cell(5, 0) = kPenalty;
    Cell(14, 0) = kPenalty;
    Cell(14, 1) = kPenalty;
    game.AreaMove();
    EXPECT_EQ(Cell(5, 0), 0);
    EXPECT_EQ(Cell(5, 1), kPenalty);
    EXPECT_EQ(Cell(14, 0), 0) << "a stack falls together";
    EXPECT_EQ(Cell(14, 1), kPenalty);
    EXPECT_EQ(Cell(14, 2), kPenalty);
    for (int i = 0; i < 30; ++i) game.AreaMove();
    EXPECT_EQ(Cell(5, 19), kPenalty);
    EXPECT_EQ(Cell(14, 19), kPenalty);
    EXPECT_EQ(Cell(14, 18), kPenalty);
    EXPECT_EQ(PenaltyCellsInArea(2) + PenaltyCellsInArea(13), 3);
}

TEST_F(PenaltyFallTest, RestsOnColoursAndBlastMarkers) {
    Cell(4, 19) = 3;
    Cell(4, 18) = kPenalty;
    Cell(6, 19) = kBlast;
    Cell(6, 18) = kPenalty;
    const Field before = game.SpielFeld;
    game.AreaMove();
    EXPECT_EQ(game.SpielFeld, before);
}

TEST_F(PenaltyFallTest, WaitsAboveTheFallingPieceOfItsSide) {
    Place(game.AktuellerSpielStein2, kSquare, 15, 10);  // cells (16..17, 11..12)
    Cell(16, 10) = kPenalty;
    game.AreaMove();
    EXPECT_EQ(Cell(16, 10), kPenalty);
    EXPECT_EQ(Cell(16, 11), 0);

    // Player 1's piece does not hold up a cell of the right area.
    Place(game.AktuellerSpielStein1, kSquare, 15, 10);
    game.AktuellerSpielStein2.x = 19;
    game.AreaMove();
    EXPECT_EQ(Cell(16, 11), kPenalty);
}

TEST_F(PenaltyFallTest, OnlyInTheFaceToFaceGame) {
    for (int status : {kStatusOnePlayer, kStatusCooperative}) {
        Start(status);
        Cell(5, 0) = kPenalty;
        const Field before = game.SpielFeld;
        game.AreaMove();
        EXPECT_EQ(game.SpielFeld, before) << status;
    }
}

}  // namespace
}  // namespace blok::testing
