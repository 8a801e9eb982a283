#include "gradient.h"

#include <algorithm>

namespace blok::setup {

namespace {
constexpr int kBandHeight = 10;
}

int GradientStep(int height) {
    const int divisor = std::max(1, (height + 1) / kBandHeight);
    return 256 / divisor;
}

std::vector<GradientBand> BackgroundBands(int top, int bottom) {
    const int step = GradientStep(bottom - top);
    std::vector<GradientBand> bands;
    for (int k = 0; top + kBandHeight * k < bottom; ++k) {
        const int bandTop = top + kBandHeight * k;
        const auto blue = static_cast<std::uint8_t>((255 - k * step) & 0xFF);
        bands.push_back({bandTop, bandTop + kBandHeight, blue});
    }
    return bands;
}

}  // namespace blok::setup
