#include "computer_player.h"

#include <algorithm>
#include <array>

namespace blok {

namespace {

// The shell's input timer: the fall speed in input ticks follows from it.
constexpr int kInputTickMs = 60;

// Weights tuned for one-piece play without a preview (figures published for such players).
constexpr Weights kTunedWeights{.landingHeight = -12.63,
                                .erodedCells = 6.60,
                                .rowTransitions = -9.22,
                                .columnTransitions = -19.77,
                                .holes = -13.08,
                                .wells = -10.49,
                                .holeDepth = -1.61,
                                .rowsWithHoles = -24.04,
                                .topCells = -200};
// The classic hand-made weights: a plainer view of the field.
constexpr Weights kPlainWeights{.landingHeight = -1,
                                .erodedCells = 1,
                                .rowTransitions = -1,
                                .columnTransitions = -1,
                                .holes = -4,
                                .wells = -1,
                                .topCells = -10};

struct Styles {
    LevelStyle off, easy, normal, hard;
};

const Styles& AllStyles() {
    static const Styles styles{
        .off = {},
        .easy = {.reactionTicks = 7,
                 .actEvery = 3,
                 .dropsWhenPlaced = false,
                 .mistakePercent = 19,
                 .worstRank = 6,
                 .weights = kPlainWeights},
        .normal = {.reactionTicks = 4,
                   .actEvery = 2,
                   .dropsWhenPlaced = true,
                   .mistakePercent = 15,
                   .worstRank = 6,
                   .weights = kTunedWeights},
        .hard = {.reactionTicks = 2,
                 .actEvery = 1,
                 .dropsWhenPlaced = true,
                 .mistakePercent = 0,
                 .worstRank = 0,
                 .weights = kTunedWeights},
    };
    return styles;
}

bool IsPiece(const figure& f) {
    return f.what == kPieceCells || f.what == kPieceBomb;
}

}  // namespace

std::string_view LevelName(ComputerLevel level) {
    switch (level) {
        case ComputerLevel::kOff:
            return "off";
        case ComputerLevel::kEasy:
            return "easy";
        case ComputerLevel::kNormal:
            return "normal";
        case ComputerLevel::kHard:
            return "hard";
    }
    return "off";
}

std::optional<ComputerLevel> LevelNamed(std::string_view name) {
    for (ComputerLevel level : {ComputerLevel::kOff, ComputerLevel::kEasy, ComputerLevel::kNormal,
                                ComputerLevel::kHard}) {
        if (LevelName(level) == name) return level;
    }
    return std::nullopt;
}

const LevelStyle& StyleOf(ComputerLevel level) {
    const Styles& s = AllStyles();
    switch (level) {
        case ComputerLevel::kOff:
            return s.off;
        case ComputerLevel::kEasy:
            return s.easy;
        case ComputerLevel::kNormal:
            return s.normal;
        case ComputerLevel::kHard:
            return s.hard;
    }
    return s.off;
}

// What the computer sees of its side at one input tick.
struct ComputerPlayer::View {
    Board board;  // its area, with the penalty cells that are still falling come to rest
    Board path;   // the same with the other player's piece, which blocks moves and turns
    PiecePose pose;
    bool bomb = false;
    bool cooperative = false;
    bool partnerWaits = false;  // the partner's piece rests on this one
    Motion motion;
    Courtesy courtesy;
};

ComputerPlayer::ComputerPlayer(ComputerLevel level, int side, std::uint32_t seed)
    : level_(level), side_(side), style_(StyleOf(level)), planner_(style_.weights), dice_(seed) {}

int ComputerPlayer::Dice(int below) {
    dice_ = dice_ * 1664525u + 1013904223u;
    return static_cast<int>((dice_ >> 16) % static_cast<std::uint32_t>(below));
}

ComputerPlayer::View ComputerPlayer::Look(const Game& game) const {
    const figure& mine = side_ == 1 ? game.AktuellerSpielStein1 : game.AktuellerSpielStein2;
    const figure& other = side_ == 1 ? game.AktuellerSpielStein2 : game.AktuellerSpielStein1;
    const PlayArea area = AreaOf(side_, game.iGameStatus);
    View v;
    v.board = Board(game, area);
    v.board.SettlePenalty();
    v.path = v.board;
    v.cooperative = game.iGameStatus == kStatusCooperative;
    if (game.iGameStatus != kStatusOnePlayer && IsPiece(other)) {
        int shape = 0, turns = 0;
        if (IdentifyShape(other.stone, shape, turns)) {
            const ShapeTurn& s = TurnOf(shape, turns);
            const int bx = other.x - area.left;
            for (int dy = s.minDy; dy <= s.maxDy; ++dy) {
                const int y = other.y + dy;
                if (y < 0 || y >= Board::kRows) continue;
                const std::uint32_t row = s.rows[static_cast<std::size_t>(dy)];
                const std::uint32_t mask = bx >= 0 ? row << bx : row >> -bx;
                v.path.Mark(y, mask & v.board.FullRow());
            }
            if (v.cooperative) {
                v.courtesy.partnerFirst = bx + s.minDx;
                v.courtesy.partnerLast = bx + s.maxDx;
                v.partnerWaits = game.StoneCollision(other.x, other.y + 1, other.stone, mine.x,
                                                     mine.y, mine.stone) == kCollisionPiece;
            }
        }
    }
    if (v.cooperative) {
        v.courtesy.on = true;
        v.courtesy.ownFirst = side_ == 1 ? 0 : kAreaWidth;
        v.courtesy.ownLast = v.courtesy.ownFirst + kAreaWidth - 1;
    }
    v.bomb = mine.what == kPieceBomb;
    IdentifyShape(mine.stone, v.pose.shape, v.pose.turns);
    if (v.bomb) v.pose = {kBombShape, 0, 0, 0};
    v.pose.bx = mine.x - area.left;
    v.pose.y = mine.y;
    v.motion.ticksPerRow = std::max(game.gamespeed / kInputTickMs, 1);
    v.motion.actEvery = style_.actEvery;
    return v;
}

bool ComputerPlayer::NewPiece(const PiecePose& pose, bool bomb) {
    const int shape = bomb ? kBombShape : pose.shape;
    const bool fresh = !tracking_ || pose.y < lastY_ || shape != lastShape_;
    tracking_ = true;
    lastShape_ = shape;
    lastY_ = pose.y;
    return fresh;
}

void ComputerPlayer::Choose(const View& view, int delayTicks) {
    Motion motion = view.motion;
    motion.delayTicks = delayTicks;
    const Ranking ranking = planner_.Rank(view.board, view.path, view.pose, motion, view.courtesy);
    ++plans_;
    planned_ = ranking.count > 0;
    if (!planned_) return;
    target_ = ranking.targets[static_cast<std::size_t>(std::min(rank_, ranking.count - 1))];
    plannedOn_ = view.board;
}

Requests ComputerPlayer::StepToward(const View& view) const {
    Requests r;
    const PiecePose& p = view.pose;
    r.right = p.bx < target_.bx;
    r.left = p.bx > target_.bx;
    r.turn = !view.bomb && p.turns != target_.turns;
    const bool placed = p.bx == target_.bx && p.turns == target_.turns;
    // A partner drops at once: a piece that hangs about is in the other player's way.
    r.down = (placed && (style_.dropsWhenPlaced || view.cooperative)) || view.partnerWaits;
    return r;
}

Requests ComputerPlayer::Poll(const Game& game) {
    const figure& mine = side_ == 1 ? game.AktuellerSpielStein1 : game.AktuellerSpielStein2;
    const bool sideInGame = side_ == 1 || game.iGameStatus != kStatusOnePlayer;
    if (!IsGameRunning(game.iGameStatus) || !sideInGame || !IsPiece(mine) || game.GameInit != 0) {
        tracking_ = false;
        return {};
    }
    if (game.STOP == 1) return {};  // a paused game reads no requests
    const View view = Look(game);
    if (NewPiece(view.pose, view.bomb)) {
        waitTicks_ = style_.reactionTicks;
        idleTicks_ = style_.actEvery - 1;
        rank_ = Dice(100) < style_.mistakePercent ? 1 + Dice(std::max(style_.worstRank, 1)) : 0;
        Choose(view, style_.reactionTicks);
    }
    if (waitTicks_ > 0) {
        --waitTicks_;
        return {};
    }
    if (++idleTicks_ < style_.actEvery) return {};
    idleTicks_ = 0;
    int landY = 0;
    if (!planned_ || !(view.board == plannedOn_) ||
        !Planner::Reach(view.board, view.path, view.pose, target_.turns, target_.bx, view.motion,
                        landY)) {
        Choose(view, 0);
    }
    if (!planned_) return {};
    return StepToward(view);
}

}  // namespace blok
