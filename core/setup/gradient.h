#pragma once

#include <cstdint>
#include <vector>

namespace blok::setup {

// One horizontal stripe of the installer's background, from y = top to y = top + 10 (the last
// stripe may reach below the window).
struct GradientBand {
    int top = 0;
    int bottom = 0;
    std::uint8_t blue = 0;
};

// Colour step between two stripes for a client area `height` pixels high. Below 9 pixels the
// step would divide by zero; such a window has room for one stripe only, which is bright blue
// whatever the step, so the divisor is held at 1.
int GradientStep(int height);

// The stripes that cover the client rows top..bottom-1, bright blue at the top growing darker
// by `GradientStep` per stripe; only the low 8 bits of the colour count, so a long gradient
// wraps round to bright blue again.
std::vector<GradientBand> BackgroundBands(int top, int bottom);

}  // namespace blok::setup
