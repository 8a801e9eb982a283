#pragma once

#include "game.h"
#include "ids_and_sizes.h"
#include "pictures.h"
#include "surface.h"

namespace blok {

// The brushes and the pen of the game frames.
inline constexpr Brush hBlack{Rgb(0, 0, 0)};
inline constexpr Brush hWhite{Rgb(255, 255, 255)};
inline constexpr Pen hWhiteP{Rgb(128, 128, 128)};  // grey, despite its name
inline constexpr Brush stoneColor[6] = {
    {Rgb(200, 0, 0)},   {Rgb(0, 200, 0)},   {Rgb(0, 0, 200)},
    {Rgb(200, 200, 0)}, {Rgb(200, 0, 200)}, {Rgb(0, 200, 200)},
};

// Composes one game frame for iGameStatus 3, 4 or 5 into the surface (any other status draws
// nothing). `backgroundImage` 0 means plain white.
void PrintGameArea(Surface& hHiddenScreenDC, const Game& game, const Pictures& pictures,
                   int backgroundImage, int clientWidth, int clientHeight);

// The picture behind the game frames of iGameStatus 3, 4 or 5; null for any other status.
const Picture Pictures::*GameBackground(int iGameStatus);

// Empties the blast markers that a game frame shows, once that frame is on screen, so that each
// explosion shows in exactly one frame. Markers outside the shown strips stay.
void ClearShownBlastMarkers(Game& game);

// The pixel rows [top, bottom) of a game frame that show field rows first..last, with what
// the rows beside them draw into them: cell outlines reach one pixel down, the blast picture
// and the bomb up to one row up and down. The score line lies within field row 0's rows.
struct PixelRows {
    int top = 0;
    int bottom = 0;
};
PixelRows GameFramePixelRows(int firstFieldRow, int lastFieldRow);

}  // namespace blok
