#pragma once

#include <cstdint>

#include "random.h"
#include "surface.h"

namespace blok {

// One star of the title screen's starfield; `ex` is 1 while the slot holds a live star.
struct Star {
    std::int32_t ex, x, y, dx, dy;
};

// Slots in a star table; every operation walks them in index order.
inline constexpr int kStarCount = 100;

// Frees every slot.
void InitStars(Star* star);
// Fills this one slot with a star at x = left, on a row 0..232, moving 1..10 pixels left.
void CreateStar(Star* star, int left, Random& rng);
// Fills the lowest free slot, if there is one.
void NewStar(Star* star, int left, Random& rng);
// Moves every live star, frees those that went past the left edge, then adds one star.
void MoveStars(Star* star, int left, Random& rng);
// One white pixel per live star.
void PlotStars(Surface& hdc, const Star* star);

}  // namespace blok
