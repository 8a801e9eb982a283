#pragma once

#include <cstdint>
#include <vector>

namespace blok {

// 32-bit pixels 0x00RRGGBB, row by row from the top, `Width()` pixels a row.
class Surface {
public:
    Surface(int width, int height)
        : width_(width), height_(height),
          pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::uint32_t* Pixels() const { return pixels_.data(); }
    std::uint32_t* Pixels() { return pixels_.data(); }

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace blok
