#include "planner.h"

#include <bit>

namespace blok {

namespace {

// Rows 0..3 hold a new piece's box: cells there stand where the next piece appears.
constexpr int kSpawnRows = 4;
// A request that has not arrived after this many ticks is no plan.
constexpr int kMaxPathTicks = 48;

// The features of a board that need one pass over its rows.
struct Features {
    int rowTransitions = 0;
    int columnTransitions = 0;
    int holes = 0;
    int wells = 0;
    int holeDepth = 0;
    int rowsWithHoles = 0;
    int topCells = 0;
};

Features Measure(const Board& b) {
    Features f;
    const int width = b.Width();
    const std::uint32_t full = b.FullRow();
    const std::uint32_t walls = (1u << (width + 1)) | 1u;
    std::array<int, 32> filledAbove{};
    std::array<int, 32> wellRun{};
    std::uint32_t covered = 0;
    std::uint32_t above = 0;  // the row above; empty over the top
    for (int y = 0; y < Board::kRows; ++y) {
        const std::uint32_t m = b.Row(y);
        const std::uint32_t framed = (m << 1) | walls;
        f.rowTransitions += std::popcount((framed ^ (framed >> 1)) & ((full << 1) | 1u));
        f.columnTransitions += std::popcount(m ^ above);
        const std::uint32_t holes = ~m & full & covered;
        f.holes += std::popcount(holes);
        if (holes != 0) ++f.rowsWithHoles;
        if (y < kSpawnRows) f.topCells += std::popcount(m);
        const std::uint32_t wellCells =
            ~m & full & ~covered & ((m << 1) | 1u) & ((m >> 1) | (1u << (width - 1)));
        for (int c = 0; c < width; ++c) {
            const std::uint32_t bit = 1u << c;
            const auto i = static_cast<std::size_t>(c);
            if ((holes & bit) != 0) f.holeDepth += filledAbove[i];
            if ((m & bit) != 0) ++filledAbove[i];
            if ((wellCells & bit) != 0) {
                f.wells += ++wellRun[i];
            } else {
                wellRun[i] = 0;
            }
        }
        covered |= m;
        above = m;
    }
    f.columnTransitions += std::popcount(above ^ full);  // the floor is filled
    return f;
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

double CourtesyCost(const Courtesy& c, const ShapeTurn& shape, int bx) {
    if (!c.on) return 0;
    const int first = bx + shape.minDx;
    const int last = bx + shape.maxDx;
    double cost = 0;
    // Far from the partner's piece, so that this piece never stops it.
    if (c.partnerLast >= c.partnerFirst && first <= c.partnerLast + 1 &&
        last >= c.partnerFirst - 1) {
        cost += 60;
    }
    for (int col = first; col <= last; ++col) {
        if (col < c.ownFirst || col > c.ownLast) cost += 4;
    }
    return cost;
}

}  // namespace

bool Planner::Reach(const Board& board, const Board& path, PiecePose p, int turns, int bx,
                    const Motion& motion, int& landY) {
    const bool aimed = p.turns == turns && p.bx == bx;
    if (aimed) {
        landY = board.DropRow(TurnOf(p.shape, p.turns), p.bx, p.y);
        return true;
    }
    const int ticksPerRow = std::max(motion.ticksPerRow, 1);
    const int actEvery = std::max(motion.actEvery, 1);
    for (int t = 1; t <= kMaxPathTicks; ++t) {
        const ShapeTurn* shape = &TurnOf(p.shape, p.turns);
        if ((t - 1) % ticksPerRow == 0) {
            if (board.Blocked(*shape, p.bx, p.y + 1)) return false;  // landed on the way
            ++p.y;
        }
        if (t <= motion.delayTicks || (t - motion.delayTicks - 1) % actEvery != 0) continue;
        // The rules move first and turn after, in one step.
        if (p.bx != bx && !path.Blocked(*shape, p.bx + Sign(bx - p.bx), p.y)) {
            p.bx += Sign(bx - p.bx);
        }
        if (p.turns != turns) {
            const ShapeTurn& next = TurnOf(p.shape, p.turns + 1);
            if (!path.Blocked(next, p.bx, p.y)) p.turns = (p.turns + 1) & 3;
        }
        if (p.turns == turns && p.bx == bx) {
            landY = board.DropRow(TurnOf(p.shape, p.turns), p.bx, p.y);
            return true;
        }
    }
    return false;
}

double Planner::Score(const Board& after, const ShapeTurn& shape, int landY,
                      int erodedCells) const {
    const Features f = Measure(after);
    const double landingHeight =
        Board::kRows - landY - (shape.minDy + shape.maxDy) / 2.0;  // its middle, from the floor
    const Weights& w = weights_;
    return w.landingHeight * landingHeight + w.erodedCells * erodedCells +
           w.rowTransitions * f.rowTransitions + w.columnTransitions * f.columnTransitions +
           w.holes * f.holes + w.wells * f.wells + w.holeDepth * f.holeDepth +
           w.rowsWithHoles * f.rowsWithHoles + w.topCells * f.topCells;
}

Ranking Planner::Rank(const Board& board, const Board& path, const PiecePose& piece,
                      const Motion& motion, const Courtesy& courtesy) const {
    Ranking ranking;
    const bool bomb = piece.shape == kBombShape;
    const int turnChoices = bomb ? 1 : kTurns;
    for (int k = 0; k < turnChoices; ++k) {
        const int turns = (piece.turns + k) & 3;
        const ShapeTurn& shape = TurnOf(piece.shape, turns);
        bool seen = false;  // a turn that looks like an earlier one only costs requests
        for (int j = 0; j < k; ++j) {
            seen = seen || TurnOf(piece.shape, piece.turns + j).rows == shape.rows;
        }
        if (seen) continue;
        for (int bx = -shape.minDx; bx + shape.maxDx < board.Width(); ++bx) {
            int landY = 0;
            if (!Reach(board, path, piece, turns, bx, motion, landY)) continue;
            Board after = board;
            int eroded = 0;
            after.Land(shape, bx, landY, bomb, eroded);
            const double score =
                Score(after, shape, landY, eroded) - CourtesyCost(courtesy, shape, bx);
            Target target{turns, bx, landY, score};
            // Insert into the short list, best first.
            int at = ranking.count < kRanked ? ranking.count : kRanked;
            while (at > 0 && ranking.targets[static_cast<std::size_t>(at - 1)].score < score) {
                --at;
            }
            if (at >= kRanked) continue;
            for (int i = std::min(ranking.count, kRanked - 1); i > at; --i) {
                ranking.targets[static_cast<std::size_t>(i)] =
                    ranking.targets[static_cast<std::size_t>(i - 1)];
            }
            ranking.targets[static_cast<std::size_t>(at)] = target;
            ranking.count = std::min(ranking.count + 1, kRanked);
        }
    }
    return ranking;
}

}  // namespace blok
