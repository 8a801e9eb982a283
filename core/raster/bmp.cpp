#include "bmp.h"

#include <cstddef>

namespace blok {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;
// Far beyond any picture of the game, small enough that sizes cannot overflow.
constexpr std::int64_t kMaxSide = 16384;

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

std::int32_t I32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(U32(b, at));
}

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored from the top
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = kUncompressed;
};

std::optional<Layout> ReadLayout(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderSize + kCoreHeaderSize) return std::nullopt;
    if (file[0] != 'B' || file[1] != 'M') return std::nullopt;
    const std::uint32_t headerSize = U32(file, kFileHeaderSize);
    if (headerSize > file.size() - kFileHeaderSize) return std::nullopt;

    const std::size_t h = kFileHeaderSize;
    Layout layout;
    if (headerSize == kCoreHeaderSize) {
        layout.width = U16(file, h + 4);
        layout.height = U16(file, h + 6);
        layout.bitsPerPixel = U16(file, h + 10);
    } else if (headerSize >= kInfoHeaderSize) {
        layout.width = I32(file, h + 4);
        layout.height = I32(file, h + 8);
        layout.bitsPerPixel = U16(file, h + 14);
        layout.compression = U32(file, h + 16);
    } else {
        return std::nullopt;
    }
    return layout;
}

}  // namespace

std::optional<Picture> DecodeBmp(std::span<const std::uint8_t> file) {
    const auto layout = ReadLayout(file);
    if (!layout || layout->compression != kUncompressed) return std::nullopt;
    if (layout->bitsPerPixel != 24 && layout->bitsPerPixel != 32) return std::nullopt;

    const std::int64_t width = layout->width;
    const bool topDown = layout->height < 0;
    const std::int64_t height = topDown ? -layout->height : layout->height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;

    const std::int64_t bytesPerPixel = layout->bitsPerPixel / 8;
    const std::int64_t stride = (width * bytesPerPixel + 3) / 4 * 4;
    const std::int64_t offset = U32(file, 10);
    // The last row's padding may be missing from the file; its pixels may not.
    const std::int64_t end = offset + stride * (height - 1) + width * bytesPerPixel;
    if (end > static_cast<std::int64_t>(file.size())) return std::nullopt;

    Picture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(static_cast<std::size_t>(width * height));
    for (std::int64_t row = 0; row < height; ++row) {
        const std::int64_t stored = topDown ? row : height - 1 - row;
        const std::uint8_t* in = file.data() + offset + stored * stride;
        std::uint32_t* out = picture.pixels.data() + row * width;
        for (std::int64_t col = 0; col < width; ++col, in += bytesPerPixel) {
            out[col] = Rgb(in[2], in[1], in[0]);
        }
    }
    return picture;
}

}  // namespace blok
