#include "bmp.h"
#include "pictures.h"

#include <gtest/gtest.h>

#include <vector>

namespace blok {
namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v);
    Put16(b, at + 2, v >> 16);
}

// A BMP file with pixel (x, y) = Rgb(10 * x, 10 * y, 99); rows padded to four bytes.
std::vector<std::uint8_t> MakeBmp(int width, int height, int bits = 24, bool topDown = false) {
    const int bytes = bits / 8;
    const int stride = (width * bytes + 3) / 4 * 4;
    std::vector<std::uint8_t> file(54 + static_cast<std::size_t>(stride * height));
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<std::uint32_t>(file.size()));
    Put32(file, 10, 54);
    Put32(file, 14, 40);
    Put32(file, 18, static_cast<std::uint32_t>(width));
    Put32(file, 22, static_cast<std::uint32_t>(topDown ? -height : height));
    Put16(file, 26, 1);
    Put16(file, 28, static_cast<std::uint32_t>(bits));
    for (int y = 0; y < height; ++y) {
        const int stored = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 54 + static_cast<std::size_t>(stored * stride + x * bytes);
            file[at] = 99;
            file[at + 1] = static_cast<std::uint8_t>(10 * y);
            file[at + 2] = static_cast<std::uint8_t>(10 * x);
        }
    }
    return file;
}

void ExpectPattern(const std::optional<Picture>& picture, int width, int height) {
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->width, width);
    ASSERT_EQ(picture->height, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(picture->pixels[static_cast<std::size_t>(y * width + x)],
                      Rgb(10 * x, 10 * y, 99))
                << x << ',' << y;
        }
    }
}

TEST(DecodeBmp, ReadsPaddedBottomUpTopDownAnd32BitRows) {
    ExpectPattern(DecodeBmp(MakeBmp(3, 2)), 3, 2);
    ExpectPattern(DecodeBmp(MakeBmp(5, 4, 24, true)), 5, 4);
    ExpectPattern(DecodeBmp(MakeBmp(2, 3, 32)), 2, 3);
}

TEST(DecodeBmp, ToleratesAMissingLastRowPadding) {
    auto file = MakeBmp(3, 2);
    file.resize(file.size() - 3);
    ExpectPattern(DecodeBmp(file), 3, 2);
}

TEST(DecodeBmp, RejectsEveryTruncationAndBrokenHeader) {
    const auto good = MakeBmp(3, 2);
    for (std::size_t size = 0; size + 3 < good.size(); ++size) {
        EXPECT_FALSE(DecodeBmp(std::span(good.data(), size))) << size;
    }
    auto broken = [&](std::size_t at, std::uint32_t value, bool wide = true) {
        auto file = good;
        wide ? Put32(file, at, value) : Put16(file, at, value);
        return DecodeBmp(file);
    };
    EXPECT_FALSE(broken(0, 'M' | ('B' << 8), false));  // not a BMP
    EXPECT_FALSE(broken(10, 0xFFFFFFF0u));             // pixels beyond the end
    EXPECT_FALSE(broken(14, 0x7FFFFFFFu));             // header beyond the end
    EXPECT_FALSE(broken(14, 20));                      // unknown header
    EXPECT_FALSE(broken(18, 0));                       // no width
    EXPECT_FALSE(broken(18, 0x80000000u));             // negative width
    EXPECT_FALSE(broken(22, 0x80000000u));             // most negative height
    EXPECT_FALSE(broken(18, 100000));                  // absurd width
    EXPECT_FALSE(broken(28, 8, false));                // palette pictures
    EXPECT_FALSE(broken(30, 1));                       // compressed
}

TEST(Pictures, MissingOrBrokenFilesBecomeBlackAtTheirUsualSize) {
    const auto bomb = MakeBmp(4, 4);
    const std::uint8_t junk[] = {'B', 'M', 0};
    const EmbeddedFile files[] = {
        {"BOMB", bomb.data(), bomb.size()}, {"FLAME", junk, sizeof junk}, {"KESTA", nullptr, 0}};
    const Pictures pictures = DecodePictures(files);
    ExpectPattern(pictures.bombbmp, 4, 4);  // another size is kept as it is
    EXPECT_EQ(pictures.flamebmp.width, 60);
    EXPECT_EQ(pictures.kestabmp.height, 428);
    EXPECT_EQ(pictures.titanbmp.width, 426);
    for (std::uint32_t p : pictures.flamebmp.pixels) ASSERT_EQ(p, 0u);
}

TEST(Pictures, BuiltInPicturesHaveTheirUsualSizes) {
    const Pictures& p = LoadPictures();
    EXPECT_EQ(&p, &LoadPictures());  // decoded once
    for (const Picture Pictures::*background :
         {&Pictures::kestabmp, &Pictures::coopbmp, &Pictures::morvobmp}) {
        LoadBackground(background);
        const std::uint32_t* pixels = (p.*background).pixels.data();
        LoadBackground(background);
        EXPECT_EQ((p.*background).pixels.data(), pixels) << "decoded once";
    }
    const std::pair<const Picture*, std::pair<int, int>> sizes[] = {
        {&p.hbmp, {200, 150}},     {&p.blkbmp, {380, 67}},   {&p.forbmp, {350, 57}},
        {&p.spiderbmp, {40, 40}},  {&p.bombbmp, {20, 30}},   {&p.flamebmp, {60, 60}},
        {&p.kestabmp, {409, 428}}, {&p.coopbmp, {409, 428}}, {&p.morvobmp, {409, 428}},
        {&p.worsebmp, {20, 20}},   {&p.duckybmp, {200, 50}}, {&p.titanbmp, {426, 122}},
    };
    for (const auto& [picture, size] : sizes) {
        EXPECT_EQ(picture->width, size.first);
        EXPECT_EQ(picture->height, size.second);
        EXPECT_EQ(picture->pixels.size(), static_cast<std::size_t>(size.first * size.second));
    }
}

}  // namespace
}  // namespace blok
