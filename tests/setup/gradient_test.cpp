#include "gradient.h"

#include <gtest/gtest.h>

namespace blok::setup {
namespace {

TEST(Gradient, ScreenOf768RowsDarkensInStepsOfThree) {
    const auto bands = BackgroundBands(0, 768);
    EXPECT_EQ(GradientStep(768), 3);
    ASSERT_EQ(bands.size(), 77u);
    EXPECT_EQ(bands.front().blue, 255);
    EXPECT_EQ(bands.back().blue, 27);
    // The stripes tile the screen; the last one reaches below it.
    for (std::size_t k = 0; k < bands.size(); ++k) {
        EXPECT_EQ(bands[k].top, static_cast<int>(10 * k));
        EXPECT_EQ(bands[k].bottom, bands[k].top + 10);
    }
    EXPECT_GT(bands.back().bottom, 768);
}

TEST(Gradient, ColourWrapsToBrightBlueOnlyInTheLowEightBits) {
    const auto bands = BackgroundBands(0, 645);
    EXPECT_EQ(GradientStep(645), 4);
    ASSERT_EQ(bands.size(), 65u);
    EXPECT_EQ(bands[63].blue, 3);
    EXPECT_EQ(bands.back().blue, 255);  // 255 - 64 * 4 = -1
}

TEST(Gradient, VeryTallWindowsStayBrightBlue) {
    EXPECT_EQ(GradientStep(2568), 1);
    EXPECT_EQ(GradientStep(2570), 0);
    for (const auto& band : BackgroundBands(0, 3000)) EXPECT_EQ(band.blue, 255);
}

TEST(Gradient, TinyAndEmptyWindowsDoNotDivideByZero) {
    for (int height = -20; height < 10; ++height) {
        const int step = GradientStep(height);
        EXPECT_GE(step, 0) << height;
        const auto bands = BackgroundBands(100, 100 + height);
        if (height <= 0) {
            EXPECT_TRUE(bands.empty()) << height;
        } else {
            ASSERT_EQ(bands.size(), 1u) << height;
            EXPECT_EQ(bands[0].top, 100);
            EXPECT_EQ(bands[0].blue, 255);
        }
    }
}

TEST(Gradient, BandsStartAtTheClientTop) {
    const auto bands = BackgroundBands(5, 31);
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[2].top, 25);
    EXPECT_EQ(bands[1].blue, 127);
    EXPECT_EQ(bands[2].blue, 255);  // step 128: 255 - 256 wraps round
}

}  // namespace
}  // namespace blok::setup
