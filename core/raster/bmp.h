#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "surface.h"

namespace blok {

// A decoded picture in the pixel layout of a Surface.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    PixelView View() const { return {width, height, pixels.data()}; }
};

// Decodes an uncompressed 24- or 32-bit BMP file, bottom-up or top-down. Anything else, and any
// file whose headers do not fit its bytes, yields nothing.
std::optional<Picture> DecodeBmp(std::span<const std::uint8_t> file);

}  // namespace blok
