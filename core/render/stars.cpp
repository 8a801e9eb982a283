#include "stars.h"

namespace blok {

namespace {

constexpr int kLowestRow = 232;
constexpr int kFastest = 10;
constexpr Color kStarColor = Rgb(255, 255, 255);

}  // namespace

void InitStars(Star* star) {
    for (int i = 0; i < kStarCount; ++i) star[i].ex = 0;
}

void CreateStar(Star* star, int left, Random& rng) {
    star->ex = 1;
    star->x = left;
    // Rejection rather than a remainder keeps every row and speed equally likely; the row is
    // drawn first so a seeded title screen replays exactly.
    int r = 0;
    do {
        r = rng.Next();
    } while (r > kLowestRow);
    star->y = r;
    do {
        star->dx = -(rng.Next() + 1);
    } while (star->dx < -kFastest);
    star->dy = 0;
}

void NewStar(Star* star, int left, Random& rng) {
    for (int i = 0; i < kStarCount; ++i) {
        if (star[i].ex == 0) {
            CreateStar(&star[i], left, rng);
            return;
        }
    }
}

void MoveStars(Star* star, int left, Random& rng) {
    for (int i = 0; i < kStarCount; ++i) {
        Star& s = star[i];
        if (s.ex == 0) continue;
        s.x += s.dx;
        s.y += s.dy;
        if (s.x < 0) s.ex = 0;
    }
    NewStar(star, left, rng);
}

void PlotStars(Surface& hdc, const Star* star) {
    for (int i = 0; i < kStarCount; ++i) {
        if (star[i].ex != 0) hdc.SetPixel(star[i].x, star[i].y, kStarColor);
    }
}

}  // namespace blok
