#pragma once

#include <array>
#include <string_view>

#include "pictures.h"
#include "random.h"
#include "stars.h"
#include "surface.h"

namespace blok {

// The animation state of the title screen. It lives as long as the window: each entry to the
// title screen goes on where the last one stopped.
struct TitleScreen {
    int blkbmpx = 500;  // x of the scrolling logo, top edge on row 0
    int forbmpx = 500;  // x of the scrolling banner, bottom edge on row 231
    float picfak = 0.0f;  // zoom of the centre picture, 0..1
    int x = 0;            // phase: 0 shows the zoom picture, 1 and 2 the song caption
    int sx = 0;           // drawn size of the centre picture
    int sy = 0;
    int duckx = 500;   // x of the scrolling sprite
    int whichbmp = 1;  // 1: the ducks are crossing, 0: the liner
    std::array<Star, kStarCount> Stars{};
};

// Start values for a newly created window; the sprite keeps its turn.
void ResetTitleForNewWindow(TitleScreen& title);

// The 60 ms animation step: logo and banner scroll and wrap, the centre picture grows, the
// stars move (new ones are born at x = WINBREITE). The caller asks for the repaint.
void TitleAnimationStep(TitleScreen& title, Random& rng, int WINBREITE);

// The 9 s picture cycle: the phase counter runs 0, 1, 2, 1, 2, ... The caller asks for the
// repaint.
void TitlePictureCycle(TitleScreen& title);

// Composes a title frame: black client area, logo, banner, corner spider, stars, then the
// zoom picture (phase 0) or the caption centred on WINBREITE / 2 (other phases; an empty
// caption draws nothing), and the sprite, which moves one pixel per composed frame.
void ComposeTitleFrame(Surface& hHiddenScreenDC, TitleScreen& title, const Pictures& pictures,
                       int WINBREITE, int clientWidth, int clientHeight,
                       std::string_view caption);

}  // namespace blok
