#include "title.h"

#include <gtest/gtest.h>

#include <set>

#include "render_fixture.h"

namespace blok {
namespace {

using test::At;

constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kYellow = Rgb(255, 255, 0);

TEST(Stars, BirthsDrawRowThenSpeedByRejectionOverTheirWholeRanges) {
    Random rng(77);
    std::set<int> rows, speeds;
    for (int i = 0; i < 5000; ++i) {
        Star star{};
        CreateStar(&star, 409, rng);
        ASSERT_EQ(star.ex, 1);
        ASSERT_EQ(star.x, 409);
        ASSERT_EQ(star.dy, 0);
        rows.insert(star.y);
        speeds.insert(star.dx);
    }
    EXPECT_EQ(rows.size(), 233u);
    EXPECT_EQ(*rows.begin(), 0);
    EXPECT_EQ(*rows.rbegin(), 232);
    EXPECT_EQ(speeds, (std::set<int>{-10, -9, -8, -7, -6, -5, -4, -3, -2, -1}));

    // The row is the first draw of at most 232, the speed the first of at most 9 after it.
    Random replay(5), mine(5);
    Star star{};
    CreateStar(&star, 0, mine);
    int r = 0;
    while ((r = replay.Next()) > 232) {
    }
    EXPECT_EQ(star.y, r);
    while ((r = replay.Next()) > 9) {
    }
    EXPECT_EQ(star.dx, -(r + 1));
    EXPECT_EQ(mine.Next(), replay.Next());
}

TEST(Stars, EachMoveRefillsTheLowestFreeSlotAndAFullTableTakesNoMore) {
    Random rng(3);
    std::array<Star, kStarCount> stars{};
    InitStars(stars.data());
    MoveStars(stars.data(), 409, rng);
    EXPECT_EQ(stars[0].ex, 1);
    EXPECT_EQ(stars[1].ex, 0);

    for (int i = 1; i < kStarCount; ++i) NewStar(stars.data(), 5000, rng);
    const auto full = stars;
    MoveStars(stars.data(), 409, rng);
    for (std::size_t i = 0; i < stars.size(); ++i) {
        EXPECT_EQ(stars[i].ex, 1);
        EXPECT_EQ(stars[i].x, full[i].x + full[i].dx);
        EXPECT_EQ(stars[i].y, full[i].y);
    }

    stars[7].ex = 0;
    stars[3].ex = 0;
    MoveStars(stars.data(), 409, rng);
    EXPECT_EQ(stars[3].ex, 1);
    EXPECT_EQ(stars[3].x, 409);
    EXPECT_EQ(stars[7].ex, 0);
    MoveStars(stars.data(), 409, rng);
    EXPECT_EQ(stars[7].x, 409);
}

TEST(Stars, AStarAtColumnZeroIsDrawnAndFreedByItsNextMove) {
    Random rng(1);
    std::array<Star, kStarCount> stars{};
    InitStars(stars.data());
    Surface s(409, 240);
    PlotStars(s, stars.data());
    EXPECT_TRUE(std::all_of(s.Pixels(), s.Pixels() + 409 * 240, [](Color c) { return c == 0; }));

    stars[0] = {1, 0, 232, -1, 0};
    stars[1] = {1, 409, 5, -3, 0};  // just right of the surface
    PlotStars(s, stars.data());
    EXPECT_EQ(At(s, 0, 232), kWhite);
    MoveStars(stars.data(), 409, rng);
    EXPECT_EQ(stars[0].x, 409);  // freed and refilled at once: the lowest free slot
    EXPECT_EQ(stars[1].x, 406);
}

class Title : public ::testing::Test {
  protected:
    void SetUp() override { ResetTitleForNewWindow(title); }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) TitleAnimationStep(title, rng, 409);
    }
    Surface Compose(std::string_view caption = {}) {
        Surface s(509, 428);
        ComposeTitleFrame(s, title, pictures, 409, 409, 428, caption);
        return s;
    }

    const Pictures pictures = test::SolidPictures();
    Random rng{11};
    TitleScreen title;
};

TEST_F(Title, CentrePictureGrowsFromItsCentreTo199x149ThenFullSize) {
    Steps(50);
    EXPECT_LT(title.picfak, 1.0f);
    Surface s = Compose();
    EXPECT_EQ(title.sx, 199);
    EXPECT_EQ(title.sy, 149);
    const Color card = pictures.hbmp.pixels[0];
    EXPECT_EQ(At(s, 105, 41), card);  // (204 - 99, 115 - 74)
    EXPECT_EQ(At(s, 303, 189), card);
    EXPECT_NE(At(s, 104, 41), card);
    EXPECT_NE(At(s, 304, 189), card);
    EXPECT_NE(At(s, 105, 190), card);

    Steps(1);
    EXPECT_EQ(title.picfak, 1.0f);
    s = Compose();
    EXPECT_EQ(title.sx, 200);
    EXPECT_EQ(title.sy, 150);
    EXPECT_EQ(At(s, 104, 40), card);
    EXPECT_EQ(At(s, 303, 189), card);
    Steps(5);
    EXPECT_EQ(title.picfak, 1.0f);
}

TEST_F(Title, ZoomFactorIsRoundedToSinglePrecisionAfterEachStep) {
    // 0.02 is added at full precision and only the sum is rounded, so on the way up some sizes
    // come out on the whole pixel rather than one short of it.
    const std::pair<int, std::pair<int, int>> sizes[] = {
        {5, {20, 15}}, {8, {32, 24}}, {30, {120, 90}}, {33, {132, 98}}};
    int done = 0;
    for (const auto& [step, size] : sizes) {
        Steps(step - done);
        done = step;
        Compose();
        EXPECT_EQ(title.sx, size.first) << "step " << step;
        EXPECT_EQ(title.sy, size.second) << "step " << step;
    }
}

TEST_F(Title, LogoAndBannerScrollAndStartAgain) {
    Steps(455);
    EXPECT_EQ(title.blkbmpx, -410);
    Steps(1);
    EXPECT_EQ(title.blkbmpx, 500);
    EXPECT_EQ(title.forbmpx, 44);
    Steps(864);
    EXPECT_EQ(title.forbmpx, -820);
    Steps(1);
    EXPECT_EQ(title.forbmpx, 500);

    title.forbmpx = 10;
    title.blkbmpx = -379;
    const Surface s = Compose();
    const Color banner = pictures.forbmp.pixels[0];
    EXPECT_EQ(At(s, 10, 174), banner);  // bottom edge on row 231
    EXPECT_EQ(At(s, 10, 230), banner);
    EXPECT_EQ(At(s, 10, 231), 0u);
    EXPECT_EQ(At(s, 10, 173), 0u);
    EXPECT_EQ(At(s, 0, 0), pictures.blkbmp.pixels[0] | pictures.spiderbmp.pixels[0]);
    EXPECT_EQ(At(s, 1, 0), pictures.spiderbmp.pixels[0]);
}

TEST_F(Title, CaptionPhaseShowsTheCaptionCentredInYellow) {
    TitlePictureCycle(title);
    EXPECT_EQ(title.x, 1);
    const Surface empty = Compose();
    const Surface s = Compose("Now Playing: Ode");
    const int width = s.TextWidth("Now Playing: Ode");
    int first = 509, last = -1, ink = 0;
    for (int y = 0; y < 428; ++y) {
        for (int x = 0; x < 509; ++x) {
            if (At(empty, x, y) == kYellow) ADD_FAILURE() << "yellow without a caption";
            if (At(s, x, y) != kYellow) continue;
            ++ink;
            ASSERT_GE(y, 100);
            ASSERT_LT(y, 116);
            first = std::min(first, x);
            last = std::max(last, x);
        }
    }
    EXPECT_GT(ink, 50);
    EXPECT_GE(first, 204 - width / 2);
    EXPECT_LT(last, 204 - width / 2 + width);
    EXPECT_LE(first, 204 - width / 2 + 2);
    for (int y = 0; y < 428; ++y) ASSERT_NE(At(s, 204, y), pictures.hbmp.pixels[0]);

    TitlePictureCycle(title);
    TitlePictureCycle(title);
    TitlePictureCycle(title);
    EXPECT_EQ(title.x, 2);
}

// A caption too wide for a narrow window is cut inside it.
TEST(TitleCaption, ATooWideCaptionStaysInsideTheWindow) {
    const Pictures& pictures = LoadPictures();
    TitleScreen title;
    ResetTitleForNewWindow(title);  // and no animation step: no stars to tell apart
    TitlePictureCycle(title);
    const std::string_view caption = "Now Playing: Grieg - In the Hall of the Mountain King";
    Surface narrow(409, 428);
    ComposeTitleFrame(narrow, title, pictures, 409, 240, 428, caption);
    int last = -1;
    for (int py = 0; py < 428; ++py) {
        for (int px = 0; px < 409; ++px) {
            if (At(narrow, px, py) == kYellow) last = std::max(last, px);
        }
    }
    EXPECT_GT(last, 200);  // drawn, and as wide as the window allows
    EXPECT_LT(last, 240);
}

TEST_F(Title, SpritesTakeTurnsAndKeepThemAcrossNewWindows) {
    Surface s = Compose();
    EXPECT_EQ(title.duckx, 499);
    EXPECT_EQ(At(s, 499, 75), pictures.duckybmp.pixels[0]);
    for (int i = 0; i < 926; ++i) Compose();
    EXPECT_EQ(title.duckx, -427);
    EXPECT_EQ(title.whichbmp, 1);
    s = Compose();
    EXPECT_EQ(title.duckx, 500);
    EXPECT_EQ(title.whichbmp, 0);
    EXPECT_EQ(At(s, 500, 40), pictures.titanbmp.pixels[0] | pictures.blkbmp.pixels[0]);
    EXPECT_EQ(At(s, 500, 161), pictures.titanbmp.pixels[0]);
    EXPECT_EQ(At(s, 500, 162), 0u);

    Steps(3);
    ResetTitleForNewWindow(title);
    EXPECT_EQ(title.whichbmp, 0);
    EXPECT_EQ(title.picfak, 0.0f);
    EXPECT_TRUE(std::none_of(title.Stars.begin(), title.Stars.end(),
                             [](const Star& star) { return star.ex != 0; }));
}

// Blackening only what the last title frame drew must leave exactly the frame a full
// composition gives, through logo, banner and sprite wraps, picture phases with and without a
// caption, a changed client size and a game frame drawn in between.
TEST(TitleUpdate, EveryFrameEqualsTheFullComposition) {
    const Pictures& pictures = LoadPictures();
    TitleScreen full, partial;
    Random fullRng(9), partialRng(9);
    ResetTitleForNewWindow(full);
    ResetTitleForNewWindow(partial);
    Surface expected(509, 447), actual(509, 447);
    for (Surface* s : {&expected, &actual}) s->FillRect(0, 0, 509, 447, Brush{Rgb(1, 2, 3)});
    TitleTrace trace;
    for (int frame = 0; frame < 1800; ++frame) {
        const bool stepped = frame % 3 != 2;  // some repaints come without a step
        if (stepped) {
            TitleAnimationStep(full, fullRng, 409);
            TitleAnimationStep(partial, partialRng, 409);
        }
        if (frame % 150 == 149) {
            TitlePictureCycle(full);
            TitlePictureCycle(partial);
        }
        const std::string_view caption = frame % 900 < 450 ? std::string_view{} : "Now: Ode";
        const int height = frame < 1400 ? 447 : 300;
        if (frame == 1200) {
            for (Surface* s : {&expected, &actual}) {
                s->FillRect(100, 20, 300, 400, Brush{Rgb(9, 9, 9)});  // a game frame
            }
            trace.valid = false;
        }
        ComposeTitleFrame(expected, full, pictures, 409, 409, height, caption);
        UpdateTitleFrame(actual, trace, partial, pictures, 409, 409, height, caption);
        ASSERT_TRUE(std::equal(expected.Pixels(), expected.Pixels() + 509 * 447, actual.Pixels()))
            << "frame " << frame;
    }
    EXPECT_EQ(partial.whichbmp, full.whichbmp);
    EXPECT_EQ(partial.whichbmp, 0);  // the other sprite took over
}

}  // namespace
}  // namespace blok
