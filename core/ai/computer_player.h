#pragma once

#include <cstdint>

#include "board.h"
#include "computer_level.h"
#include "game.h"
#include "planner.h"

namespace blok {

// The requests of one input tick, as a person's keys would make them.
struct Requests {
    bool left = false;
    bool right = false;
    bool turn = false;
    bool down = false;
    int Count() const { return int(left) + int(right) + int(turn) + int(down); }
};

// What sets the levels apart: how soon it reacts to a new piece, how often it asks, whether it
// drops a placed piece, how often it takes a worse place and what it values.
struct LevelStyle {
    int reactionTicks = 0;  // input ticks between a new piece and the first request
    int actEvery = 1;       // input ticks from one request to the next
    bool dropsWhenPlaced = true;
    int mistakePercent = 0;  // pieces that go to a worse place than the best
    int worstRank = 0;       // how far down the ranking such a piece may go
    Weights weights;
};

const LevelStyle& StyleOf(ComputerLevel level);

// One side of a game steered by the computer. It reads only what the window shows — the field,
// both falling pieces and the fall speed — and answers once per input tick, before the game
// reads its keys. Nothing is allocated after construction.
class ComputerPlayer {
  public:
    // `side` 1 is the left player (or the only one), 2 the right. `seed` chooses its mistakes.
    ComputerPlayer(ComputerLevel level, int side, std::uint32_t seed);

    Requests Poll(const Game& game);

    ComputerLevel Level() const { return level_; }
    int Side() const { return side_; }
    // Pieces it has planned for, and placements it has looked at, since construction.
    long Plans() const { return plans_; }

  private:
    struct View;
    View Look(const Game& game) const;
    bool NewPiece(const PiecePose& pose, bool bomb);
    void Choose(const View& view, int delayTicks);
    Requests StepToward(const View& view) const;
    int Dice(int below);

    ComputerLevel level_;
    int side_;
    LevelStyle style_;
    Planner planner_;
    std::uint32_t dice_;

    bool tracking_ = false;  // a piece is being followed
    int lastShape_ = -1;
    int lastY_ = 0;
    int waitTicks_ = 0;
    int idleTicks_ = 0;  // ticks since the last request tick
    int rank_ = 0;       // which of the ranked places this piece goes to
    bool planned_ = false;
    Target target_{};
    Board plannedOn_{};  // the area the target was chosen on
    long plans_ = 0;
};

}  // namespace blok
