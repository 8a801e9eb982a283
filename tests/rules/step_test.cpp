// The game step: pieces made, moved, landed; scores; the end of games, bouts and fights.
#include "game_fixture.h"

namespace blok::testing {
namespace {

class StepTest : public GameTest {
  protected:
    // Down requests for player 1 until its piece lands; returns the row it landed from.
    int DropPlayerOne() {
        for (int guard = 0; guard < 40; ++guard) {
            const int y = game.AktuellerSpielStein1.y;
            game.isDown1 = 1;
            game.GameGoOn();
            if (game.AktuellerSpielStein1.y != y + 1) return y;
        }
        ADD_FAILURE() << "player 1's piece never landed";
        return -1;
    }

    // Makes the given player's piece land in the top row at the next down request.
    void BlockAtTop(int player) {
        figure& piece = player == 1 ? game.AktuellerSpielStein1 : game.AktuellerSpielStein2;
        Place(piece, kSquare, player == 1 ? 5 : 15, 0);  // cells in rows 1..2
        Cell(piece.x + 1, 3) = 4;
        (player == 1 ? game.isDown1 : game.isDown2) = 1;
    }

    // Ends the current face-to-face bout by a landing of the given player in the top row.
    void LoseBout(int player) {
        if (game.GameInit == 1) game.GameGoOn();  // the next bout's initialisation
        game.GameGoOn();                          // its first pieces
        BlockAtTop(player);
        game.GameGoOn();
    }
};

TEST_F(StepTest, FirstPiecesAndWherePiecesAppear) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        random.Seed(seed);
        Start(seed % 2 == 0 ? kStatusCooperative : kStatusFaceToFace);
        EXPECT_EQ(game.AktuellerSpielStein1.what, 1);
        game.GameGoOn();
        for (const figure* p : {&game.AktuellerSpielStein1, &game.AktuellerSpielStein2}) {
            EXPECT_EQ(p->what, 2) << "a first piece is never a bomb, seed " << seed;
            EXPECT_GE(p->color, 1);
            EXPECT_LE(p->color, 6);
            EXPECT_EQ(p->y, 0);
        }
        EXPECT_EQ(game.AktuellerSpielStein1.x, 5);
        EXPECT_EQ(game.AktuellerSpielStein2.x, 16);
    }

    Start(kStatusOnePlayer);
    game.GameGoOn();
    EXPECT_EQ(game.AktuellerSpielStein2.what, 1) << "no second piece for one player";

    Start(kStatusCooperative);
    game.GameGoOn();
    Place(game.AktuellerSpielStein2, kSquare, 16, 17);
    game.isDown2 = 1;
    game.GameGoOn();
    EXPECT_EQ(game.AktuellerSpielStein2.y, 0);
    EXPECT_EQ(game.AktuellerSpielStein2.x, 15) << "player 2's later pieces";
}

TEST_F(StepTest, RequestsWaitWhileThePieceIsMade) {
    Start(kStatusOnePlayer);
    game.isLeft1 = 1;
    game.GameGoOn();
    EXPECT_EQ(game.AktuellerSpielStein1.x, 5);
    EXPECT_EQ(game.isLeft1, 1);
    game.GameGoOn();
    EXPECT_EQ(game.AktuellerSpielStein1.x, 4);
    EXPECT_EQ(game.isLeft1, 0);
}

TEST_F(StepTest, MovesAfterALandingApplyToTheNewPiece) {
    StartWithPieces(kStatusOnePlayer);
    Place(game.AktuellerSpielStein1, kSquare, 8, 17);
    game.isDown1 = 1;
    game.isLeft1 = 1;
    game.GameGoOn();
    EXPECT_EQ(Cell(9, 18), 2);
    EXPECT_EQ(game.AktuellerSpielStein1.y, 0);
    EXPECT_EQ(game.AktuellerSpielStein1.x, 4);
}

TEST_F(StepTest, OnePlayerScoresEveryDownRequestAndEveryRow) {
    StartWithPieces(kStatusOnePlayer);
    const int rowsMoved = DropPlayerOne();
    EXPECT_GT(rowsMoved, 10);
    EXPECT_EQ(game.Up1Points, static_cast<std::uint32_t>(rowsMoved + 1));

    // A square dropped into a two-wide gap completes two rows: two more points, twenty for rows.
    StartWithPieces(kStatusOnePlayer);
    for (int y : {18, 19}) FillRowExcept(y, 2, 10, {6, 7});
    Place(game.AktuellerSpielStein1, kSquare, 5, 16);
    DropPlayerOne();
    EXPECT_EQ(game.Up1Points, 2u + 20u);
    EXPECT_EQ(CountInRow(19, 2, 10, 0), 10);
}

TEST_F(StepTest, LandingInTheTopRowEndsTheGameWithoutRemovingRows) {
    StartWithPieces(kStatusOnePlayer);
    FillRowExcept(1, 2, 10, {6, 7});
    FillRowExcept(2, 2, 10, {6, 7});
    FillRowExcept(3, 2, 10);
    BlockAtTop(1);
    game.GameGoOn();
    EXPECT_EQ(game.iGameStatus, kStatusTitlePending);
    EXPECT_EQ(game.Up1Points, 1u);
    EXPECT_EQ(CountInRow(1, 2, 10, 0), 0) << "the completed rows stay";
    EXPECT_EQ(CountInRow(2, 2, 10, 0), 0);
}

TEST_F(StepTest, CooperativeEndAveragesTheScores) {
    for (int loser : {1, 2}) {
        StartWithPieces(kStatusCooperative);
        game.Up1Points = loser == 1 ? 300 : 301;
        game.Up2Points = loser == 1 ? 100 : 99;  // the landing request adds its point first
        BlockAtTop(loser);
        game.GameGoOn();
        EXPECT_EQ(game.iGameStatus, kStatusTitlePending);
        EXPECT_EQ(game.Up1Points, 200u) << "loser " << loser;
        EXPECT_EQ(game.Up2Points, 0u);
    }
}

TEST_F(StepTest, PieceRestingOnTheOtherPieceStaysInTheAir) {
    StartWithPieces(kStatusCooperative);
    Place(game.AktuellerSpielStein2, kSquare, 5, 10);  // cells (6..7, 11..12)
    Place(game.AktuellerSpielStein1, kSquare, 5, 8);   // cells (6..7, 9..10)
    const Field before = game.SpielFeld;
    game.isDown1 = 1;
    game.GameGoOn();
    EXPECT_EQ(game.AktuellerSpielStein1.y, 8);
    EXPECT_EQ(game.SpielFeld, before) << "no landing";
    game.isRight2 = 1;
    game.GameGoOn();
    game.isRight2 = 1;
    game.GameGoOn();
    game.isDown1 = 1;
    game.GameGoOn();
    EXPECT_EQ(game.AktuellerSpielStein1.y, 9);
}

TEST_F(StepTest, FaceToFaceFightOverFiveBouts) {
    StartWithPieces(kStatusFaceToFace);
    const int losers[5] = {1, 2, 1, 2, 1};
    for (int bout = 0; bout < 5; ++bout) {
        ASSERT_TRUE(host.messages.empty()) << "fight over early, bout " << bout;
        LoseBout(losers[bout]);
        if (bout < 4) {
            EXPECT_EQ(game.iGameStatus, kStatusFaceToFace);
            EXPECT_EQ(game.GameInit, 1);
            EXPECT_EQ(game.won1 + game.won2, bout + 1);
        }
        EXPECT_EQ(game.Up1Points + game.Up2Points, 0u) << "no points face to face";
    }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Player on the right side wins");
    EXPECT_EQ(host.messages[0].caption, "End of Fight");
    EXPECT_EQ(host.messages[0].statusWhenShown, kStatusTitlePending);
    EXPECT_EQ(game.iGameStatus, kStatusTitlePending);
    EXPECT_EQ(game.won1, 0);
    EXPECT_EQ(game.won2, 0);
}

TEST_F(StepTest, FaceToFaceBoutRebuildsTheFieldAndKeepsTheTally) {
    StartWithPieces(kStatusFaceToFace);
    game.won1 = 1;  // carried over from a fight left unfinished
    Cell(4, 19) = kPenalty;
    LoseBout(2);
    EXPECT_EQ(game.won1, 2);
    game.GameGoOn();
    EXPECT_EQ(game.GameInit, 0);
    EXPECT_EQ(Cell(4, 19), 0);
    EXPECT_EQ(game.AktuellerSpielStein1.what, 1);
    EXPECT_EQ(game.won1, 2);
    LoseBout(2);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Player on the left side wins");
}

TEST_F(StepTest, BombNeverTurnsAndKeepsTheColourBeforeIt) {
    StartWithPieces(kStatusOnePlayer);
    Place(game.AktuellerSpielStein1, kBomb, 6, 5);
    game.isUp1 = 1;
    game.GameGoOn();
    EXPECT_EQ(game.AktuellerSpielStein1.stone, Stein[kBomb]);
    EXPECT_EQ(game.isUp1, 0);

    // A seed whose next draw makes a bomb.
    std::uint32_t seed = 1;
    while (Random(seed).Next() % 8 != 7) ++seed;
    Place(game.AktuellerSpielStein1, kSquare, 5, 17);
    game.AktuellerSpielStein1.color = 4;
    random.Seed(seed);
    Random after(seed);
    after.Next();
    game.isDown1 = 1;
    game.GameGoOn();
    EXPECT_EQ(game.AktuellerSpielStein1.what, 3);
    EXPECT_EQ(game.AktuellerSpielStein1.color, 4);
    EXPECT_EQ(game.AktuellerSpielStein1.stone, Stein[kBomb]);
    EXPECT_EQ(random.Next(), after.Next()) << "no colour drawn for a bomb";
}

}  // namespace
}  // namespace blok::testing
