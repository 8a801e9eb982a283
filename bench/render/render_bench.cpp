// Cost of composing frames, next to the cost of merely copying one game frame: the frame
// budget is stated as a multiple of that copy.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "game_frame.h"
#include "title.h"

namespace blok {
namespace {

void CopyFrame(benchmark::State& state) {
    std::vector<std::uint32_t> from(kGameFrameWidth * kGameFrameHeight, 0x123456u);
    std::vector<std::uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof from[0]);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(CopyFrame);

// A field half full of cells with a few penalty cells, and both pieces falling.
void FillMidGame(Game& game) {
    Random pattern(42);
    for (std::size_t x = 2; x <= 22; ++x) {
        for (std::size_t y = 8; y < 20; ++y) {
            const int r = pattern.Next() % 8;
            game.SpielFeld[x][y] = static_cast<std::int16_t>(r < 6 ? r + 1 : (r == 6 ? 8 : 0));
        }
    }
    for (figure* piece : {&game.AktuellerSpielStein1, &game.AktuellerSpielStein2}) {
        piece->what = 2;
        piece->color = 3;
        piece->y = 2;
        piece->stone = Stein[2];
    }
    game.AktuellerSpielStein1.x = 3;
    game.AktuellerSpielStein2.x = 14;
    game.Up1Points = 123456;
    game.Up2Points = 654321;
}

void GameFrame(benchmark::State& state) {
    Random rng(1);
    NullGameHost host;
    Game game(rng, host);
    game.iGameStatus = static_cast<int>(state.range(0));
    FillMidGame(game);
    const Pictures& pictures = LoadPictures();
    LoadBackground(GameBackground(game.iGameStatus));
    Surface surface(kGameFrameWidth + 100, kGameFrameHeight);
    for (auto _ : state) {
        PrintGameArea(surface, game, pictures, 1, kGameFrameWidth, kGameFrameHeight);
        benchmark::DoNotOptimize(surface.Pixels());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(GameFrame)->Arg(kStatusOnePlayer)->Arg(kStatusCooperative)->Arg(kStatusFaceToFace);

// Argument 0: the picture phase with the centre picture half grown (the costliest stretch);
// 1: the caption phase.
void TitleFrame(benchmark::State& state) {
    Random rng(1);
    TitleScreen title;
    ResetTitleForNewWindow(title);
    for (int i = 0; i < 300; ++i)
        TitleAnimationStep(title, rng, kGameFrameWidth);  // a sky full of stars
    title.picfak = 0.5f;
    title.x = static_cast<int>(state.range(0));
    const Pictures& pictures = LoadPictures();
    Surface surface(kGameFrameWidth + kSurfaceExtraWidth, kGameFrameHeight);
    for (auto _ : state) {
        ComposeTitleFrame(surface, title, pictures, kGameFrameWidth, kGameFrameWidth,
                          kGameFrameHeight, "Now Playing: Ode to Joy");
        benchmark::DoNotOptimize(surface.Pixels());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TitleFrame)->Arg(0)->Arg(1);

}  // namespace
}  // namespace blok

BENCHMARK_MAIN();
