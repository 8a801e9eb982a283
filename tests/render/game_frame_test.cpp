#include "game_frame.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "render_fixture.h"

namespace blok {
namespace {

using test::At;
using test::GameSetup;

constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kLineGrey = Rgb(128, 128, 128);
constexpr Color kTextGrey = Rgb(160, 160, 160);
constexpr Color kMarker = Rgb(42, 43, 44);

class GameFrame : public ::testing::Test {
  protected:
    // The frame on a surface wider than the window, marked where nothing was drawn.
    // A frame as a paint shows it: composed, then the blast markers it showed are cleared.
    Surface Compose(GameSetup& setup, const Pictures& with, int backgroundImage = 1) {
        Surface s = ComposeOnly(setup.game, with, backgroundImage);
        ClearShownBlastMarkers(setup.game);
        return s;
    }
    static Surface ComposeOnly(const Game& game, const Pictures& with, int backgroundImage = 1) {
        Surface s(509, 428);
        s.FillRect(0, 0, 509, 428, Brush{kMarker});
        PrintGameArea(s, game, with, backgroundImage, 409, 428);
        return s;
    }
    Surface Compose(GameSetup& setup) { return Compose(setup, pictures); }
    Color Stone(int color) const { return stoneColor[color - 1].color; }

    // The rows 0..15 that hold the score texts.
    static std::vector<Color> ScoreBand(const Surface& s) {
        return {s.Pixels(), s.Pixels() + 16 * s.Width()};
    }

    const Pictures pictures = test::SolidPictures();
    const Color kesta = pictures.kestabmp.pixels[0];
    const Color morvo = pictures.morvobmp.pixels[0];
    const Color flame = pictures.flamebmp.pixels[0];
};

TEST_F(GameFrame, OnePlayerFieldLiesBetweenGreyWalls) {
    GameSetup setup(kStatusOnePlayer);
    setup.Cell(2, 19, 3);
    setup.Cell(3, 19, 1);
    setup.Cell(1, 5, kWall);
    setup.Cell(12, 0, 4);  // beyond the strip
    setup.Piece(setup.game.AktuellerSpielStein1, 2, 5, 8, 10);
    setup.Piece(setup.game.AktuellerSpielStein2, 2, 2, 5, 5);  // not shown in one-player play
    const Surface s = Compose(setup);

    for (int y = 0; y <= 427; ++y) ASSERT_EQ(At(s, 103, y), kLineGrey) << y;
    for (int y = 1; y <= 427; ++y) ASSERT_EQ(At(s, 305, y), kLineGrey) << y;
    for (int x = 103; x <= 305; ++x) ASSERT_EQ(At(s, x, 427), kLineGrey) << x;
    EXPECT_EQ(At(s, 305, 0), kesta);  // the polyline's last point
    EXPECT_EQ(At(s, 102, 200), kesta);
    EXPECT_EQ(At(s, 104, 200), kesta);

    EXPECT_EQ(At(s, 104, 380), kBlack);  // cells outlined in black, the outline shared
    EXPECT_EQ(At(s, 105, 381), Stone(3));
    EXPECT_EQ(At(s, 124, 390), kBlack);
    EXPECT_EQ(At(s, 125, 390), Stone(1));
    EXPECT_EQ(At(s, 144, 390), kBlack);
    EXPECT_EQ(At(s, 145, 390), kesta);
    EXPECT_EQ(At(s, 110, 400), kBlack);
    EXPECT_EQ(At(s, 110, 401), kesta);

    EXPECT_EQ(At(s, 90, 110), kesta);    // walls are never drawn
    EXPECT_EQ(At(s, 310, 10), kesta);    // nor columns beyond the strip
    EXPECT_EQ(At(s, 244, 220), kBlack);  // player 1's square at column 9, row 11
    EXPECT_EQ(At(s, 250, 230), Stone(5));
    EXPECT_EQ(At(s, 190, 130), kesta);
    EXPECT_EQ(At(s, 420, 10), kMarker);  // beyond the frame
}

TEST_F(GameFrame, CooperativePlayHasOneWideFieldWithoutFrameLines) {
    GameSetup setup(kStatusCooperative);
    setup.Cell(2, 0, 1);
    setup.Cell(21, 19, 2);
    setup.Cell(12, 10, 6);
    setup.Piece(setup.game.AktuellerSpielStein1, 2, 3, 3, 3);
    setup.Piece(setup.game.AktuellerSpielStein2, 2, 4, 15, 3);
    const Surface s = Compose(setup);

    EXPECT_EQ(At(s, 5, 5), Stone(1));
    EXPECT_EQ(At(s, 385, 385), Stone(2));
    EXPECT_EQ(At(s, 200, 200), kBlack);
    EXPECT_EQ(At(s, 205, 205), Stone(6));
    EXPECT_EQ(At(s, 45, 85), Stone(3));
    EXPECT_EQ(At(s, 285, 85), Stone(4));
    for (int y = 0; y < 428; ++y) {
        for (int x = 0; x < 409; ++x) ASSERT_NE(At(s, x, y), kLineGrey) << x << ',' << y;
    }
}

TEST_F(GameFrame, FaceToFaceFieldsMeetAtTheGreyLineAndShowOnlyBoutsWon) {
    GameSetup setup(kStatusFaceToFace);
    setup.Cell(13, 5, 2);
    setup.Piece(setup.game.AktuellerSpielStein2, 2, 1, 15, 0);
    setup.game.won1 = 2;
    setup.game.won2 = 1;
    const Surface s = Compose(setup);

    for (int y = 1; y <= 427; ++y) {
        const bool underCell = y >= 100 && y <= 120;
        ASSERT_EQ(At(s, 201, y) == kLineGrey, !underCell) << y;
    }
    for (int x = 0; x <= 201; ++x) ASSERT_EQ(At(s, x, 427), kLineGrey) << x;
    EXPECT_EQ(At(s, 0, 300), morvo);
    EXPECT_EQ(At(s, 200, 100), kBlack);  // player 2's strip starts at 200 and covers the line
    EXPECT_EQ(At(s, 201, 105), Stone(2));
    EXPECT_EQ(At(s, 265, 25), Stone(1));  // player 2's piece at offset -60

    auto inked = [](const Surface& surface, int from, int to) {
        int count = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = from; x < to; ++x) count += At(surface, x, y) == kTextGrey;
        }
        return count;
    };
    EXPECT_GT(inked(s, 0, 16), 0);
    EXPECT_GT(inked(s, 384, 400), 0);

    const auto band = ScoreBand(s);
    setup.game.Up1Points = 12345;
    setup.game.Up2Points = 678;
    EXPECT_EQ(ScoreBand(Compose(setup)), band);
}

TEST_F(GameFrame, ScoreEndsAtColumn400AndGrowsToTheLeft) {
    auto inkedColumns = [&](std::uint32_t points) {
        GameSetup setup(kStatusOnePlayer);
        setup.game.Up1Points = points;
        const Surface s = Compose(setup);
        int first = 409, last = -1;
        for (int y = 0; y < 428; ++y) {
            for (int x = 0; x < 409; ++x) {
                if (At(s, x, y) != kTextGrey) continue;
                EXPECT_LT(y, 16);
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
        return std::pair{first, last};
    };
    const auto [shortFirst, shortLast] = inkedColumns(7);
    const auto [longFirst, longLast] = inkedColumns(4294967295u);
    EXPECT_GE(shortLast, 396);
    EXPECT_LT(shortLast, 400);
    EXPECT_GE(longLast, 396);
    EXPECT_LT(longLast, 400);
    EXPECT_LT(longFirst, shortFirst - 60);
}

TEST_F(GameFrame, CooperativeScoreIsTheMeanOfTheWrappedSum) {
    auto band = [&](std::uint32_t up1, std::uint32_t up2) {
        GameSetup setup(kStatusCooperative);
        setup.game.Up1Points = up1;
        setup.game.Up2Points = up2;
        return ScoreBand(Compose(setup));
    };
    EXPECT_EQ(band(15, 20), band(17, 17));
    EXPECT_NE(band(15, 20), band(18, 18));
    EXPECT_EQ(band(4294967295u, 3), band(1, 1));
}

TEST_F(GameFrame, FlameShowsInOneFrameAndLaterCellsCoverIt) {
    GameSetup setup(kStatusOnePlayer);
    setup.Cell(5, 10, kBlast);  // strip column 3: x 164, y 200; the flame from (144, 180)
    setup.Cell(4, 10, 1);       // drawn before the flame
    setup.Cell(6, 10, 2);       // drawn after it
    setup.Cell(5, 11, 3);
    const Surface first = Compose(setup);

    EXPECT_EQ(At(first, 144, 180), flame);
    EXPECT_EQ(At(first, 203, 239), flame);
    EXPECT_EQ(At(first, 143, 180), kesta);
    EXPECT_EQ(At(first, 150, 205), flame);
    EXPECT_EQ(At(first, 190, 205), Stone(2));
    EXPECT_EQ(At(first, 170, 225), Stone(3));
    EXPECT_EQ(setup.game.SpielFeld[5][10], kEmpty);

    const Surface second = Compose(setup);
    EXPECT_EQ(At(second, 170, 190), kesta);
    EXPECT_EQ(At(second, 150, 205), Stone(1));
}

TEST_F(GameFrame, ComposingLeavesTheGameAsItWasAndClearingOnlyTouchesShownMarkers) {
    GameSetup setup(kStatusFaceToFace);
    setup.Cell(5, 10, kBlast);   // shown in the left strip
    setup.Cell(12, 10, kBlast);  // the wall column between the strips: never shown
    setup.Cell(15, 3, kBlast);   // shown in the right strip
    const Field before = setup.game.SpielFeld;
    const Surface first = ComposeOnly(setup.game, pictures);
    const Surface second = ComposeOnly(setup.game, pictures);
    EXPECT_TRUE(std::equal(first.Pixels(), first.Pixels() + 509 * 428, second.Pixels()));
    EXPECT_EQ(setup.game.SpielFeld, before);

    ClearShownBlastMarkers(setup.game);
    EXPECT_EQ(setup.game.SpielFeld[5][10], kEmpty);
    EXPECT_EQ(setup.game.SpielFeld[15][3], kEmpty);
    EXPECT_EQ(setup.game.SpielFeld[12][10], kBlast);
}

TEST_F(GameFrame, BombHangsOffItsCellAndLosesItsTopInRowZero) {
    Pictures rowed = pictures;
    for (int y = 0; y < 30; ++y) {
        std::fill_n(rowed.bombbmp.pixels.begin() + y * 20, 20, Rgb(100 + y, 0, 0));
    }
    GameSetup setup(kStatusOnePlayer);
    setup.Piece(setup.game.AktuellerSpielStein1, 3, 1, 5, 3);
    Surface s = Compose(setup, rowed);
    EXPECT_EQ(At(s, 166, 53), Rgb(100, 0, 0));
    EXPECT_EQ(At(s, 185, 82), Rgb(129, 0, 0));
    EXPECT_EQ(At(s, 165, 53), kesta);
    EXPECT_EQ(At(s, 186, 82), kesta);
    EXPECT_EQ(At(s, 166, 83), kesta);

    GameSetup fight(kStatusFaceToFace);
    fight.Piece(fight.game.AktuellerSpielStein2, 3, 1, 15, 0);
    s = Compose(fight, rowed);
    EXPECT_EQ(At(s, 242, 0), Rgb(107, 0, 0));
    EXPECT_EQ(At(s, 261, 22), Rgb(129, 0, 0));
}

TEST_F(GameFrame, PenaltyCellsHaveNoOutline) {
    GameSetup setup(kStatusOnePlayer);
    setup.Cell(4, 6, kPenalty);  // x 144, y 120
    const Surface s = Compose(setup);
    const Color worse = pictures.worsebmp.pixels[0];
    for (int y = 120; y < 140; ++y) {
        for (int x = 144; x < 164; ++x) ASSERT_EQ(At(s, x, y), worse) << x << ',' << y;
    }
    EXPECT_EQ(At(s, 164, 130), kesta);
    EXPECT_EQ(At(s, 150, 140), kesta);
}

TEST_F(GameFrame, PicturesOfOtherSizesAreDrawnAtTheirFrameSizes) {
    Pictures odd = pictures;
    odd.kestabmp = test::Solid(40, 30, kesta);
    odd.bombbmp = test::Solid(5, 5, pictures.bombbmp.pixels[0]);
    odd.flamebmp = test::Solid(90, 90, flame);
    odd.worsebmp = test::Solid(7, 3, pictures.worsebmp.pixels[0]);
    GameSetup setup(kStatusOnePlayer);
    setup.Cell(4, 6, kPenalty);                                // x 144..163, y 120..139
    setup.Cell(8, 15, kBlast);                                 // flame x 204..263, y 280..339
    setup.Piece(setup.game.AktuellerSpielStein1, 3, 1, 5, 3);  // bomb x 166..185, y 53..82
    const Surface s = Compose(setup, odd);

    EXPECT_EQ(At(s, 408, 427), kesta) << "the background covers the whole frame";
    EXPECT_EQ(At(s, 409, 427), kMarker);
    EXPECT_EQ(At(s, 185, 82), pictures.bombbmp.pixels[0]);
    EXPECT_EQ(At(s, 186, 82), kesta);
    EXPECT_EQ(At(s, 263, 339), flame);
    EXPECT_EQ(At(s, 264, 339), kesta);
    EXPECT_EQ(At(s, 163, 139), pictures.worsebmp.pixels[0]);
    EXPECT_EQ(At(s, 164, 139), kesta);
}

TEST_F(GameFrame, WhiteBackgroundFillsTheClientAreaOfTheRealWindow) {
    GameSetup setup(kStatusOnePlayer);
    setup.Cell(2, 19, 1);
    Surface s(501, 401);  // client 401 x 401: the frame is cut off at the bottom
    s.FillRect(0, 0, 501, 401, Brush{kMarker});
    PrintGameArea(s, setup.game, pictures, 0, 401, 401);
    EXPECT_EQ(At(s, 10, 10), Rgb(255, 255, 255));
    EXPECT_EQ(At(s, 400, 400), Rgb(255, 255, 255));
    EXPECT_EQ(At(s, 401, 0), kMarker);
    EXPECT_EQ(At(s, 305, 400), kLineGrey);
    EXPECT_EQ(At(s, 105, 381), Stone(1));

    PrintGameArea(s, setup.game, pictures, 1, 401, 401);
    EXPECT_EQ(At(s, 10, 10), kesta);
}

TEST_F(GameFrame, NothingIsComposedOutsideAGame) {
    for (int status : {kStatusTitlePending, kStatusTitle, kStatusExit, kStatusHiscoreCheck}) {
        GameSetup setup(status);
        setup.Cell(5, 5, kBlast);
        const Surface s = Compose(setup);
        EXPECT_TRUE(
            std::all_of(s.Pixels(), s.Pixels() + 509 * 428, [](Color c) { return c == kMarker; }));
        EXPECT_EQ(setup.game.SpielFeld[5][5], kBlast);
    }
}

}  // namespace
}  // namespace blok
