#pragma once

#include "game.h"
#include "game_frame.h"
#include "pictures.h"
#include "surface.h"

namespace blok::test {

inline Picture Solid(int width, int height, Color color) {
    return {width, height,
            std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), color)};
}

// Pictures of one distinct colour each, so that every pixel tells which picture it came from.
inline Pictures SolidPictures() {
    Pictures p;
    p.hbmp = Solid(200, 150, Rgb(1, 1, 1));
    p.blkbmp = Solid(380, 67, Rgb(2, 2, 2));
    p.forbmp = Solid(350, 57, Rgb(3, 3, 3));
    p.spiderbmp = Solid(40, 40, Rgb(4, 4, 4));
    p.bombbmp = Solid(20, 30, Rgb(5, 5, 5));
    p.flamebmp = Solid(60, 60, Rgb(6, 6, 6));
    p.kestabmp = Solid(409, 428, Rgb(7, 7, 7));
    p.coopbmp = Solid(409, 428, Rgb(8, 8, 8));
    p.morvobmp = Solid(409, 428, Rgb(9, 9, 9));
    p.worsebmp = Solid(20, 20, Rgb(10, 10, 10));
    p.duckybmp = Solid(200, 50, Rgb(0, 0, 11));
    p.titanbmp = Solid(426, 122, Rgb(0, 0, 12));
    return p;
}

inline Color At(const Surface& s, int x, int y) {
    return s.Pixels()[y * s.Width() + x];
}

// A game in the given status with an empty field and no pieces.
struct GameSetup {
    Random rng{1};
    NullGameHost host;
    Game game{rng, host};

    explicit GameSetup(int status) {
        game.iGameStatus = status;
        game.AktuellerSpielStein1.what = 1;
        game.AktuellerSpielStein2.what = 1;
    }
    void Cell(int x, int y, int value) {
        game.SpielFeld[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] =
            static_cast<std::int16_t>(value);
    }
    void Piece(figure& piece, int what, int color, int x, int y) {
        piece.what = static_cast<std::int16_t>(what);
        piece.color = static_cast<std::int16_t>(color);
        piece.x = x;
        piece.y = y;
        piece.stone = Stein[what == 3 ? 7 : 0];
    }
};

}  // namespace blok::test
