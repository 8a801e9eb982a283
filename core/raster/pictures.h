#pragma once

#include <span>

#include "bmp.h"
#include "embedded.h"

namespace blok {

// The twelve pictures of the game, named after their handles.
struct Pictures {
    Picture hbmp;       // BITMAP_1: title card that zooms up, 200 x 150
    Picture blkbmp;     // BLKBMP: scrolling logo, 380 x 67
    Picture forbmp;     // FORBMP: scrolling banner, 350 x 57
    Picture spiderbmp;  // SPIDER: corner picture, 40 x 40
    Picture bombbmp;    // BOMB: the falling bomb, 20 x 30
    Picture flamebmp;   // FLAME: an explosion over 3 x 3 cells, 60 x 60
    Picture kestabmp;   // KESTA: one-player background, the game frame's size
    Picture coopbmp;    // COOP: cooperative background, the game frame's size
    Picture morvobmp;   // MORVO: face-to-face background, the game frame's size
    Picture worsebmp;   // WORSE: a penalty cell, 20 x 20
    Picture duckybmp;   // DUCKY: first title sprite, 200 x 50
    Picture titanbmp;   // TITAN: second title sprite, 426 x 122
};

// Decodes the pictures from files named by resource. A picture that is missing or cannot be
// decoded becomes black at its usual size, so the screens keep their layout.
Pictures DecodePictures(std::span<const EmbeddedFile> files);

// The pictures built into the program, decoded on the first call; all but the three game
// backgrounds, which stay empty until LoadBackground decodes them: most runs show only one.
const Pictures& LoadPictures();

// Decodes one of the built-in backgrounds (kestabmp, coopbmp or morvobmp) unless it already is.
void LoadBackground(const Picture Pictures::*background);

}  // namespace blok
