#pragma once

#include <array>

#include "board.h"

namespace blok {

// How much each feature of the field after a placement is worth.
struct Weights {
    double landingHeight = 0;
    double erodedCells = 0;  // rows removed times the piece's cells in them
    double rowTransitions = 0;
    double columnTransitions = 0;
    double holes = 0;
    double wells = 0;  // cumulative depth of every well
    double holeDepth = 0;
    double rowsWithHoles = 0;
    double topCells = 0;  // cells in the rows where new pieces appear
};

// How the piece moves while it is carried to its place: a gravity step every `ticksPerRow`
// input ticks (the first at once, to be safe), requests from tick `delayTicks` + 1 on and then
// every `actEvery` ticks.
struct Motion {
    int ticksPerRow = 5;
    int delayTicks = 0;
    int actEvery = 1;
};

// A falling piece in area columns: its box at column `bx`, row `y`, turned `turns` times.
struct PiecePose {
    int shape = 0;
    int turns = 0;
    int bx = 0;
    int y = 0;
};

// A place for the piece: the turns and box column to reach, the row it then lands on.
struct Target {
    int turns = 0;
    int bx = 0;
    int landY = 0;
    double score = 0;
};

// Keeps the cooperative partner's falling piece free: placements under or beside it cost.
struct Courtesy {
    bool on = false;
    int partnerFirst = 0, partnerLast = -1;  // area columns of the partner's piece
    int ownFirst = 0, ownLast = 0;           // the half of the area that is this player's
};

inline constexpr int kRanked = 8;

// The best few places for a piece, best first.
struct Ranking {
    std::array<Target, kRanked> targets{};
    int count = 0;
};

// `board` is the area as it lands pieces; `path` adds what only blocks moves and turns (the
// other player's piece). Both stay unchanged.
class Planner {
  public:
    explicit Planner(const Weights& weights) : weights_(weights) {}

    Ranking Rank(const Board& board, const Board& path, const PiecePose& piece,
                 const Motion& motion, const Courtesy& courtesy) const;
    // Whether the requests carry the piece to the target's turns and column before it lands;
    // sets `landY` to the row it then lands on.
    static bool Reach(const Board& board, const Board& path, PiecePose piece, int turns, int bx,
                      const Motion& motion, int& landY);

    double Score(const Board& after, const ShapeTurn& shape, int landY, int erodedCells) const;

  private:
    Weights weights_;
};

}  // namespace blok
