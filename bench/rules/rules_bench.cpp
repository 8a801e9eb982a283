// Cost of the game's ticks on fields as they look in the middle of a game: partly filled rows,
// both pieces falling, and face to face some penalty cells, one of them waiting on a piece.
#include <benchmark/benchmark.h>

#include "game.h"

namespace {

using blok::Game;

struct MidGame {
    explicit MidGame(int type) : game(random, host) {
        game.iGameStatus = type;
        game.GameInit = 1;
        game.StartFromPaint();
        game.GameGoOn();
        if (type == blok::kStatusCooperative) {
            FillStack(2, 20);
        } else {
            FillStack(2, 10);
            if (type == blok::kStatusFaceToFace) FillStack(13, 10);
        }
        Put(game.AktuellerSpielStein1, 2, 5, 4);   // a T in the open
        Put(game.AktuellerSpielStein2, 4, 16, 6);  // an S in the open
        if (type == blok::kStatusFaceToFace) {
            Cell(3, 11) = blok::kPenalty;  // resting on the stack
            Cell(9, 12) = blok::kPenalty;
            Cell(20, 12) = blok::kPenalty;
            Cell(17, 5) = blok::kPenalty;  // waiting on player 2's piece below it
        }
    }

    // Rows 12..19 filled with gaps, as a stack of a game under way.
    void FillStack(int left, int width) {
        for (int y = 12; y < 20; ++y) {
            for (int x = left; x < left + width; ++x) {
                if ((x * 7 + y * 3) % 5 != 0) Cell(x, y) = static_cast<std::int16_t>(x % 6 + 1);
            }
        }
    }

    void Put(blok::figure& piece, int shape, int x, int y) {
        piece.what = 2;
        piece.color = 3;
        piece.stone = blok::Stein[static_cast<std::size_t>(shape)];
        piece.x = x;
        piece.y = y;
    }

    std::int16_t& Cell(int x, int y) {
        return game.SpielFeld[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
    }

    blok::Random random{7};
    blok::NullGameHost host;
    Game game;
};

// No keys: the penalty-cell fall twice and one step in which nothing is requested. The field
// stays as it is, so every round measures the same work.
void InputTick(benchmark::State& state) {
    MidGame mid(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(mid.game.InputTick());
        benchmark::ClobberMemory();
    }
}

// Both pieces move one row down; they are put back after each round.
void GravityTick(benchmark::State& state) {
    MidGame mid(static_cast<int>(state.range(0)));
    const int y1 = mid.game.AktuellerSpielStein1.y;
    const int y2 = mid.game.AktuellerSpielStein2.y;
    for (auto _ : state) {
        mid.game.GravityTick();
        benchmark::ClobberMemory();
        mid.game.AktuellerSpielStein1.y = y1;
        mid.game.AktuellerSpielStein2.y = y2;
    }
}

// Player 1's piece lands on the stack: placement, row test and the next piece. The round
// includes putting the field and the piece back.
void LandingGravityTick(benchmark::State& state) {
    MidGame mid(static_cast<int>(state.range(0)));
    mid.Put(mid.game.AktuellerSpielStein1, 2, 5, 8);
    while (mid.game.StoneCollision(5, mid.game.AktuellerSpielStein1.y + 1,
                                   mid.game.AktuellerSpielStein1.stone, 40, 0,
                                   blok::Matrix{}) == 0) {
        ++mid.game.AktuellerSpielStein1.y;
    }
    const blok::Field field = mid.game.SpielFeld;
    const blok::figure piece1 = mid.game.AktuellerSpielStein1;
    const blok::figure piece2 = mid.game.AktuellerSpielStein2;
    for (auto _ : state) {
        mid.game.GravityTick();
        benchmark::ClobberMemory();
        mid.game.SpielFeld = field;
        mid.game.AktuellerSpielStein1 = piece1;
        mid.game.AktuellerSpielStein2 = piece2;
        mid.game.iGameStatus = static_cast<int>(state.range(0));
    }
}

BENCHMARK(InputTick)->DenseRange(blok::kStatusOnePlayer, blok::kStatusFaceToFace);
BENCHMARK(GravityTick)->DenseRange(blok::kStatusOnePlayer, blok::kStatusFaceToFace);
BENCHMARK(LandingGravityTick)->DenseRange(blok::kStatusOnePlayer, blok::kStatusFaceToFace);

}  // namespace

BENCHMARK_MAIN();
