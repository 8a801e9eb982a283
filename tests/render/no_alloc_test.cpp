// Composing a frame must not touch the heap: frames come about sixteen times a second for as
// long as the program runs. This binary counts every allocation through a replaced operator new.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "render_fixture.h"
#include "title.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace blok {
namespace {

template <typename Draw>
long AllocationsDuring(Draw draw) {
    const long before = allocations.load();
    draw();
    return allocations.load() - before;
}

TEST(NoAllocation, ComposingAnyFrame) {
    const Pictures pictures = test::SolidPictures();
    Surface surface(501, 401);
    for (int status : {kStatusOnePlayer, kStatusCooperative, kStatusFaceToFace}) {
        test::GameSetup setup(status);
        setup.game.StartFromPaint();
        for (int x = 2; x < 22; ++x) setup.Cell(x, 15, x % 7 + 1);
        setup.Cell(4, 12, kBlast);
        setup.Cell(5, 12, kPenalty);
        setup.game.Up1Points = 123456;
        setup.Piece(setup.game.AktuellerSpielStein2, 3, 1, 15, 0);
        for (int background : {1, 0}) {
            EXPECT_EQ(AllocationsDuring([&] {
                          PrintGameArea(surface, setup.game, pictures, background, 401, 401);
                      }),
                      0)
                << "status " << status;
        }
    }

    TitleScreen title;
    Random rng(4);
    ResetTitleForNewWindow(title);
    for (int i = 0; i < 200; ++i) TitleAnimationStep(title, rng, 409);
    EXPECT_EQ(AllocationsDuring([&] {
                  ComposeTitleFrame(surface, title, pictures, 409, 401, 401, {});
                  TitlePictureCycle(title);
                  TitleAnimationStep(title, rng, 409);
                  ComposeTitleFrame(surface, title, pictures, 409, 401, 401, "Now Playing: Ode");
              }),
              0);
    TitleTrace trace;
    EXPECT_EQ(AllocationsDuring([&] {
                  for (int i = 0; i < 3; ++i) {
                      TitleAnimationStep(title, rng, 409);
                      UpdateTitleFrame(surface, trace, title, pictures, 409, 401, 401, {});
                  }
              }),
              0);

    // The count itself works (a direct call, which the optimiser may not drop).
    EXPECT_EQ(AllocationsDuring([] { ::operator delete(::operator new(16)); }), 1);
}

}  // namespace
}  // namespace blok
