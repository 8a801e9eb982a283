#include "board.h"

#include <bit>

namespace blok {

namespace {

// The turn request's turn of the 4 x 4 box, as the rules make it.
Matrix Turned(const Matrix& m) {
    Matrix t{};
    for (std::size_t dx = 0; dx < 4; ++dx) {
        for (std::size_t dy = 0; dy < 4; ++dy) t[dx][dy] = m[3 - dy][dx];
    }
    return t;
}

struct ShapeTable {
    std::array<std::array<Matrix, kTurns>, kShapes> matrices{};
    std::array<std::array<ShapeTurn, kTurns>, kShapes> turns{};
};

ShapeTurn Describe(const Matrix& m) {
    ShapeTurn s;
    s.minDx = s.minDy = 4;
    s.maxDx = s.maxDy = -1;
    for (int dx = 0; dx < 4; ++dx) {
        for (int dy = 0; dy < 4; ++dy) {
            if (m[static_cast<std::size_t>(dx)][static_cast<std::size_t>(dy)] == 0) continue;
            s.rows[static_cast<std::size_t>(dy)] |= static_cast<std::uint8_t>(1u << dx);
            s.minDx = std::min(s.minDx, dx);
            s.maxDx = std::max(s.maxDx, dx);
            s.minDy = std::min(s.minDy, dy);
            s.maxDy = std::max(s.maxDy, dy);
            ++s.cells;
        }
    }
    return s;
}

const ShapeTable& Shapes() {
    static const ShapeTable table = [] {
        ShapeTable t;
        for (std::size_t s = 0; s < kShapes; ++s) {
            Matrix m = Stein[s];
            for (std::size_t k = 0; k < kTurns; ++k) {
                t.matrices[s][k] = m;
                t.turns[s][k] = Describe(m);
                m = Turned(m);
            }
        }
        return t;
    }();
    return table;
}

bool Filled(std::int16_t v) {
    return v > 0 && v < kBlast;  // what blocks a piece
}

}  // namespace

PlayArea AreaOf(int side, int gameStatus) {
    if (gameStatus == kStatusCooperative) return {kLeftAreaColumn, kCooperativeWidth};
    return {side == 2 ? kRightAreaColumn : kLeftAreaColumn, kAreaWidth};
}

const ShapeTurn& TurnOf(int shape, int turns) {
    return Shapes().turns[static_cast<std::size_t>(shape)][static_cast<std::size_t>(turns & 3)];
}

bool IdentifyShape(const Matrix& stone, int& shape, int& turns) {
    const ShapeTable& table = Shapes();
    for (int s = 0; s < kShapes; ++s) {
        for (int k = 0; k < kTurns; ++k) {
            if (table.matrices[static_cast<std::size_t>(s)][static_cast<std::size_t>(k)] == stone) {
                shape = s;
                turns = k;
                return true;
            }
        }
    }
    return false;
}

Board::Board(const Game& game, PlayArea area) : width_(area.width) {
    for (int y = 0; y < kRows; ++y) {
        for (int c = 0; c < width_; ++c) {
            const std::int16_t v = game.CellAt(area.left + c, y);
            const std::uint32_t bit = 1u << c;
            if (Filled(v)) cells_[static_cast<std::size_t>(y)] |= bit;
            if (v == kPenalty) penalty_[static_cast<std::size_t>(y)] |= bit;
        }
    }
}

std::uint32_t Board::PieceMask(const ShapeTurn& shape, int dy, int bx) const {
    const std::uint32_t row = shape.rows[static_cast<std::size_t>(dy)];
    return bx >= 0 ? row << bx : row >> -bx;
}

bool Board::Blocked(const ShapeTurn& shape, int bx, int y) const {
    if (bx + shape.minDx < 0 || bx + shape.maxDx >= width_) return true;
    for (int dy = shape.minDy; dy <= shape.maxDy; ++dy) {
        const int r = y + dy;
        if (r >= kRows) return true;
        if (r < 0) continue;
        if ((cells_[static_cast<std::size_t>(r)] & PieceMask(shape, dy, bx)) != 0) return true;
    }
    return false;
}

int Board::DropRow(const ShapeTurn& shape, int bx, int y) const {
    while (!Blocked(shape, bx, y + 1)) ++y;
    return y;
}

void Board::RemoveRow(int y) {
    // Row 0 is copied down and stays, as the rules' shift leaves it.
    for (int r = y; r > 0; --r) {
        cells_[static_cast<std::size_t>(r)] = cells_[static_cast<std::size_t>(r - 1)];
        penalty_[static_cast<std::size_t>(r)] = penalty_[static_cast<std::size_t>(r - 1)];
    }
}

void Board::Blast(int column, int y) {
    const std::uint32_t block = (column > 0 ? 7u << (column - 1) : 3u) & FullRow();
    for (int r = std::max(y - 1, 0); r <= std::min(y + 1, kRows - 1); ++r) {
        cells_[static_cast<std::size_t>(r)] &= ~block;
        penalty_[static_cast<std::size_t>(r)] &= ~block;
    }
}

int Board::Land(const ShapeTurn& shape, int bx, int y, bool bomb, int& erodedCells) {
    std::array<int, kRows> pieceCells{};
    if (bomb) {
        Blast(bx, y);  // around the box's corner, where the rules put the blast
    } else {
        for (int dy = shape.minDy; dy <= shape.maxDy; ++dy) {
            const int r = y + dy;
            if (r < 0 || r >= kRows) continue;
            const std::uint32_t mask = PieceMask(shape, dy, bx);
            cells_[static_cast<std::size_t>(r)] |= mask;
            pieceCells[static_cast<std::size_t>(r)] = std::popcount(mask);
        }
    }
    erodedCells = 0;
    int removed = 0;
    for (int r = kRows - 1; r >= 0;) {
        const auto i = static_cast<std::size_t>(r);
        if (cells_[i] != FullRow() || penalty_[i] != 0) {
            --r;
            continue;
        }
        ++removed;
        erodedCells += pieceCells[i];
        RemoveRow(r);
        for (int k = r; k > 0; --k) {
            pieceCells[static_cast<std::size_t>(k)] = pieceCells[static_cast<std::size_t>(k - 1)];
        }
        if (r > 0 && cells_[0] == FullRow() && penalty_[0] == 0) cells_[0] = 0;
    }
    return removed;
}

void Board::SettlePenalty() {
    for (int y = kRows - 2; y >= 0; --y) {
        std::uint32_t falling = penalty_[static_cast<std::size_t>(y)];
        for (int r = y; falling != 0 && r + 1 < kRows; ++r) {
            const std::uint32_t moves = falling & ~cells_[static_cast<std::size_t>(r + 1)];
            if (moves == 0) break;
            for (std::array<std::uint32_t, kRows>* plane : {&cells_, &penalty_}) {
                (*plane)[static_cast<std::size_t>(r)] &= ~moves;
                (*plane)[static_cast<std::size_t>(r + 1)] |= moves;
            }
            falling = moves;
        }
    }
}

}  // namespace blok
