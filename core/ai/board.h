#pragma once

#include <array>
#include <cstdint>

#include "game.h"

namespace blok {

// The columns of the field that one player's rows are made of: ten of its own face to face and
// alone, the twenty of both players in the cooperative game.
struct PlayArea {
    int left = kLeftAreaColumn;
    int width = kAreaWidth;
};

// The area of `side` (1 = left, 2 = right) in a game of this status.
PlayArea AreaOf(int side, int gameStatus);

// A piece's shape as the computer knows it: one of the eight shapes, turned 0..3 times the way
// the turn request turns it. Cells are kept as one four-bit mask per row of the 4 x 4 box.
struct ShapeTurn {
    std::array<std::uint8_t, 4> rows{};  // bit dx set: cell (dx, dy) occupied
    int minDx = 0, maxDx = 0;            // occupied columns of the box
    int minDy = 0, maxDy = 0;            // occupied rows of the box
    int cells = 0;
};

inline constexpr int kShapes = 8;
inline constexpr int kBombShape = 7;
inline constexpr int kTurns = 4;

const ShapeTurn& TurnOf(int shape, int turns);
// The shape and turn that give exactly this matrix, or false for none.
bool IdentifyShape(const Matrix& stone, int& shape, int& turns);

// One area of the field as row masks: bit c stands for column `left + c`. Penalty cells block
// like any cell but keep their row from being removed; the blast marker counts as empty, as it
// neither blocks a piece nor stays past the next frame.
class Board {
  public:
    static constexpr int kRows = 20;

    Board() = default;
    Board(const Game& game, PlayArea area);

    int Width() const { return width_; }
    std::uint32_t FullRow() const { return (1u << width_) - 1u; }
    std::uint32_t Row(int y) const { return cells_[static_cast<std::size_t>(y)]; }
    bool HasPenalty(int y) const { return penalty_[static_cast<std::size_t>(y)] != 0; }

    // True when the shape's box at area column `bx` (may be negative) and row `y` meets a wall,
    // the floor or a cell.
    bool Blocked(const ShapeTurn& shape, int bx, int y) const;
    // The lowest row the box reaches falling straight down from `y`.
    int DropRow(const ShapeTurn& shape, int bx, int y) const;

    // Lands the piece (or, for the bomb shape, its blast) and removes complete rows as the
    // rules do; returns the rows removed and sets `erodedCells` to the piece's cells in them.
    int Land(const ShapeTurn& shape, int bx, int y, bool bomb, int& erodedCells);
    // Penalty cells still falling come to rest as far down as the cells below let them.
    void SettlePenalty();
    // Adds blocking cells that are no part of the rows (the other player's falling piece).
    void Mark(int y, std::uint32_t mask) { cells_[static_cast<std::size_t>(y)] |= mask; }

    bool operator==(const Board&) const = default;

  private:
    std::uint32_t PieceMask(const ShapeTurn& shape, int dy, int bx) const;
    void RemoveRow(int y);
    void Blast(int column, int y);

    std::array<std::uint32_t, kRows> cells_{};
    std::array<std::uint32_t, kRows> penalty_{};
    int width_ = kAreaWidth;
};

}  // namespace blok
