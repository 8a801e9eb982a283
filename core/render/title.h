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
    int blkbmpx = 500;    // x of the scrolling logo, top edge on row 0
    int forbmpx = 500;    // x of the scrolling banner, bottom edge on row 231
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
// zoom picture (phase 0) or the caption centred on WINBREITE / 2 at row 100 (other phases; an
// empty caption draws nothing; one too wide for the visible band is shifted inside it or cut
// short with "..."), and the sprite, which moves one pixel per composed frame.
void ComposeTitleFrame(Surface& hHiddenScreenDC, TitleScreen& title, const Pictures& pictures,
                       int WINBREITE, int clientWidth, int clientHeight, std::string_view caption);

// Where the last title frame composed on a surface drew anything but black, so the next one
// need only blacken those places instead of the whole client area. `valid` is false until a
// title frame was composed, and must be cleared whenever anything else draws on the surface.
struct TitleTrace {
    struct Box {
        int left, top, right, bottom;
    };
    bool valid = false;
    bool wholeClient = false;  // the caption's glyphs are not boxed: blacken everything
    int clientWidth = 0;
    int clientHeight = 0;
    int count = 0;
    std::array<Box, kStarCount + 5> boxes{};  // logo, banner, spider, stars, picture, sprite
};

// The same frame as ComposeTitleFrame, pixel for pixel, on a surface whose last drawing was the
// title frame `trace` describes; blackens only what that frame drew. Updates `trace`.
void UpdateTitleFrame(Surface& hHiddenScreenDC, TitleTrace& trace, TitleScreen& title,
                      const Pictures& pictures, int WINBREITE, int clientWidth, int clientHeight,
                      std::string_view caption);

}  // namespace blok
