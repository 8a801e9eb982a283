#include "surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace blok {
namespace {

constexpr Color kMarker = Rgb(1, 2, 3);
constexpr Color kRed = Rgb(200, 0, 0);
constexpr Color kGreen = Rgb(0, 200, 0);
constexpr Color kGrey = Rgb(128, 128, 128);

Color At(const Surface& s, int x, int y) {
    return s.Pixels()[y * s.Width() + x];
}

Surface Filled(int w, int h, Color c) {
    Surface s(w, h);
    s.FillRect(0, 0, w, h, Brush{c});
    return s;
}

// A source whose every pixel tells where it came from.
std::vector<std::uint32_t> Numbered(int w, int h) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) pixels.push_back(Rgb(x, y, 7));
    }
    return pixels;
}

TEST(SurfaceRectangle, NeighbouringCellsShareOneOutlineAndExcludeRightAndBottom) {
    Surface s = Filled(60, 40, kMarker);
    s.SelectBrush(Brush{kRed});
    s.Rectangle(0, 0, 21, 21);
    s.SelectBrush(Brush{kGreen});
    s.Rectangle(20, 0, 41, 21);

    const Color black = Rgb(0, 0, 0);
    EXPECT_EQ(At(s, 0, 0), black);
    EXPECT_EQ(At(s, 19, 10), kRed);
    EXPECT_EQ(At(s, 20, 10), black);  // the shared edge
    EXPECT_EQ(At(s, 21, 10), kGreen);
    EXPECT_EQ(At(s, 40, 10), black);
    EXPECT_EQ(At(s, 41, 10), kMarker);  // right edge excluded
    EXPECT_EQ(At(s, 10, 20), black);
    EXPECT_EQ(At(s, 10, 21), kMarker);  // bottom edge excluded
}

TEST(SurfaceRectangle, SelectingBackRestoresTheDefaultBlackPen) {
    Surface s = Filled(30, 30, kMarker);
    const Pen old = s.SelectPen(Pen{kGrey});
    s.Rectangle(0, 0, 10, 10);
    s.SelectPen(old);
    s.Rectangle(10, 10, 20, 20);
    EXPECT_EQ(At(s, 0, 0), kGrey);
    EXPECT_EQ(At(s, 10, 10), Rgb(0, 0, 0));
    EXPECT_EQ(At(s, 5, 5), Rgb(255, 255, 255));  // the default brush is white
}

TEST(SurfaceClipping, EveryOperationClipsAtAllFourEdges) {
    const auto source = Numbered(8, 8);
    const PixelView view{8, 8, source.data()};
    Surface s = Filled(10, 10, kMarker);

    s.BitBlt(-3, -2, 8, 8, view, 0, 0, RasterOp::Copy);
    EXPECT_EQ(At(s, 0, 0), Rgb(3, 2, 7));
    EXPECT_EQ(At(s, 4, 5), Rgb(7, 7, 7));
    EXPECT_EQ(At(s, 5, 5), kMarker);

    s.BitBlt(7, 8, 8, 8, view, 0, 0, RasterOp::Copy);
    EXPECT_EQ(At(s, 9, 9), Rgb(2, 1, 7));

    // Everything below runs wholly or partly outside the 10 x 10 surface; the sanitizer build
    // catches any write past it.
    s.StretchBlt(-30, -30, 100, 100, view, 0, 0, 8, 8, RasterOp::Paint);
    s.Rectangle(-5, -5, 50, 50);
    s.FillRect(-100, 5, 100, 200, Brush{kGreen});
    const Point diagonal[] = {{-20, -20}, {40, 40}};
    s.Polyline(diagonal, 2);
    s.SetPixel(-1, 0, kRed);
    s.SetPixel(10, 0, kRed);
    s.TextOut(-5, -8, "Clipped 123");
    s.TextOut(5, 5, "Clipped 123");
    EXPECT_EQ(At(s, 3, 9), kGreen);
}

TEST(SurfaceClipping, InvertedOrNegativeExtentsDrawNothing) {
    const auto source = Numbered(8, 8);
    const PixelView view{8, 8, source.data()};
    Surface s = Filled(10, 10, kMarker);
    // Right of or above the start, and starting at the first pixels, where a wrong span would
    // reach before the surface.
    s.FillRect(0, 0, -3, 4, Brush{kGreen});
    s.FillRect(6, 2, 2, 8, Brush{kGreen});
    s.FillRect(2, 6, 8, 2, Brush{kGreen});
    s.BitBlt(0, 0, -4, 5, view, 4, 0, RasterOp::Copy);
    s.BitBlt(5, 0, 5, -4, view, 0, 4, RasterOp::Copy);
    s.StretchBlt(0, 0, 4, 4, view, 4, 4, -4, -4, RasterOp::Copy);
    EXPECT_TRUE(std::all_of(s.Pixels(), s.Pixels() + 100, [](Color c) { return c == kMarker; }));
}

TEST(SurfaceCopy, SourceRectangleOutsideThePictureLeavesTheSurface) {
    const auto source = Numbered(4, 4);
    Surface s = Filled(8, 8, kMarker);
    s.BitBlt(0, 0, 8, 8, PixelView{4, 4, source.data()}, 2, -1, RasterOp::Copy);
    EXPECT_EQ(At(s, 0, 0), kMarker);       // source row -1
    EXPECT_EQ(At(s, 0, 1), Rgb(2, 0, 7));  // source (2, 0)
    EXPECT_EQ(At(s, 1, 4), Rgb(3, 3, 7));
    EXPECT_EQ(At(s, 2, 1), kMarker);  // source column 4
}

TEST(SurfaceCopy, OrCopyKeepsWhatIsUnderBlack) {
    const std::vector<std::uint32_t> sprite{Rgb(0, 0, 0), Rgb(0, 0, 255)};
    Surface s = Filled(2, 1, Rgb(255, 0, 0));
    s.BitBlt(0, 0, 2, 1, PixelView{2, 1, sprite.data()}, 0, 0, RasterOp::Paint);
    EXPECT_EQ(At(s, 0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(At(s, 1, 0), Rgb(255, 0, 255));
}

TEST(SurfaceCopy, StretchPicksNearestSourcePixels) {
    const auto source = Numbered(4, 4);
    const PixelView view{4, 4, source.data()};
    Surface s = Filled(8, 8, kMarker);

    s.StretchBlt(0, 0, 8, 8, view, 0, 0, 4, 4, RasterOp::Copy);  // doubled
    EXPECT_EQ(At(s, 0, 0), Rgb(0, 0, 7));
    EXPECT_EQ(At(s, 1, 1), Rgb(0, 0, 7));
    EXPECT_EQ(At(s, 2, 7), Rgb(1, 3, 7));
    EXPECT_EQ(At(s, 7, 6), Rgb(3, 3, 7));

    s.StretchBlt(0, 0, 2, 2, view, 0, 0, 4, 4, RasterOp::Copy);  // halved
    EXPECT_EQ(At(s, 0, 0), Rgb(1, 1, 7));
    EXPECT_EQ(At(s, 1, 1), Rgb(3, 3, 7));

    Surface untouched = Filled(4, 4, kMarker);
    untouched.StretchBlt(0, 0, 0, 3, view, 0, 0, 4, 4, RasterOp::Copy);
    EXPECT_EQ(At(untouched, 0, 0), kMarker);
}

TEST(SurfaceLines, EndPointsAreLeftOut) {
    Surface s = Filled(10, 10, kMarker);
    s.SelectPen(Pen{kGrey});
    const Point line[] = {{1, 0}, {1, 5}, {6, 5}, {6, 0}};
    s.Polyline(line, 4);
    EXPECT_EQ(At(s, 1, 0), kGrey);
    EXPECT_EQ(At(s, 1, 5), kGrey);  // a corner is the start of the next segment
    EXPECT_EQ(At(s, 6, 1), kGrey);
    EXPECT_EQ(At(s, 6, 0), kMarker);  // the last point
}

TEST(SurfaceLines, LinesFromFarOffArePlainSpansOrSkipped) {
    Surface s = Filled(10, 10, kMarker);
    s.SelectPen(Pen{kGrey});
    const int far = 2'000'000'000;
    const Point across[] = {{-far, 3}, {far, 3}, {far, 3}};
    s.Polyline(across, 2);
    EXPECT_EQ(At(s, 0, 3), kGrey);
    EXPECT_EQ(At(s, 9, 3), kGrey);
    const Point down[] = {{7, far}, {7, -far}};
    s.Polyline(down, 2);
    EXPECT_EQ(At(s, 7, 0), kGrey);
    EXPECT_EQ(At(s, 7, 9), kGrey);
    // A slanting line whose box misses the surface draws nothing and returns at once.
    const Point missing[] = {{-far, -far}, {-5, -far / 2}};
    s.Polyline(missing, 2);
    EXPECT_EQ(At(s, 0, 0), kMarker);
}

TEST(SurfaceText, WidthIsTheAdvanceOfDrawing) {
    Surface whole = Filled(200, 20, kMarker);
    Surface pieces = Filled(200, 20, kMarker);
    whole.SetBkMode(BkMode::Transparent);
    pieces.SetBkMode(BkMode::Transparent);
    whole.TextOut(3, 2, "Now Playing: 17 jumpy Wolves");
    int x = 3;
    for (std::string_view part : {"Now Pla", "ying: 17 j", "umpy Wolves"}) {
        pieces.TextOut(x, 2, part);
        x += pieces.TextWidth(part);
    }
    EXPECT_EQ(x - 3, whole.TextWidth("Now Playing: 17 jumpy Wolves"));
    EXPECT_TRUE(std::equal(whole.Pixels(), whole.Pixels() + 200 * 20, pieces.Pixels()));
}

TEST(SurfaceText, TransparentTextLeavesItsBackgroundOpaqueFillsTheLine) {
    Surface s = Filled(60, 40, kMarker);
    EXPECT_EQ(s.TextHeight(), 16);
    s.SetTextColor(kRed);
    const int width = s.TextWidth("17");
    EXPECT_EQ(width, 16);  // digits of the bold face are 8 pixels wide

    s.SetBkMode(BkMode::Transparent);
    s.TextOut(0, 0, "17");
    int ink = 0, background = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < width; ++x) {
            ink += At(s, x, y) == kRed;
            background += At(s, x, y) == kMarker;
        }
    }
    EXPECT_GT(ink, 10);
    EXPECT_EQ(ink + background, 16 * width);

    s.SetBkMode(BkMode::Opaque);
    s.SetBkColor(kGreen);
    s.TextOut(0, 20, "17");
    EXPECT_EQ(At(s, 0, 20), kGreen);
    EXPECT_EQ(At(s, width - 1, 35), kGreen);
    EXPECT_EQ(At(s, width, 20), kMarker);
    EXPECT_EQ(At(s, 0, 36), kMarker);
}

TEST(SurfacePaint, EveryPixelOfARowIsOredInWhateverItsLength) {
    Surface s = Filled(9, 1, Rgb(1, 0, 4));
    const std::vector<std::uint32_t> sprite = Numbered(9, 1);
    s.BitBlt(1, 0, 7, 1, PixelView{9, 1, sprite.data()}, 1, 0, RasterOp::Paint);
    EXPECT_EQ(At(s, 0, 0), Rgb(1, 0, 4));
    for (int x = 1; x < 8; ++x) EXPECT_EQ(At(s, x, 0), Rgb(x | 1, 0, 7 | 4)) << x;
    EXPECT_EQ(At(s, 8, 0), Rgb(1, 0, 4));
}

TEST(SurfaceStorage, LentMemoryIsDrawnOnAndACopyHasMemoryOfItsOwn) {
    std::shared_ptr<std::uint32_t[]> lent(new std::uint32_t[6]{});
    Surface s(3, 2, lent);
    s.FillRect(0, 0, 3, 2, Brush{kRed});
    EXPECT_EQ(s.Pixels(), lent.get());
    EXPECT_EQ(lent[5], kRed);

    Surface copy = s;
    copy.SetPixel(0, 0, kGreen);
    EXPECT_NE(copy.Pixels(), lent.get());
    EXPECT_EQ(At(copy, 0, 0), kGreen);
    EXPECT_EQ(At(copy, 2, 1), kRed);
    EXPECT_EQ(lent[0], kRed);
}

}  // namespace
}  // namespace blok
