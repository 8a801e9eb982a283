#include "match.h"

#include <algorithm>
#include <ctime>
#include <optional>
#include <string>

#include "computer_keys.h"
#include "computer_player.h"
#include "game.h"
#include "game_frame.h"

namespace blok::bench {

namespace {

constexpr int kInputMs = 60;
constexpr int kSpeedUpMs = 10000;
// A game that neither ends nor reaches its cap stops after this much game time.
constexpr std::int64_t kMaxGameMs = 24LL * 60 * 60 * 1000;

// The key readings of both computers, the fight's end message and the gravity timer.
class MatchHost final : public GameHost {
  public:
    bool PressedSinceLastRead(int virtualKey) override {
        return keys.Pressed(*game, virtualKey).value_or(false);
    }
    bool Held(int virtualKey) override { return keys.Held(*game, virtualKey).value_or(false); }
    void ShowMessage(std::string_view text, std::string_view) override {
        winner = text.find("right") != std::string_view::npos ? 2 : 1;
    }
    void RestartGravityTimer(int milliseconds) override {
        gravityMs = milliseconds;
        nextGravity = now + milliseconds;
    }

    const Game* game = nullptr;
    ComputerKeys keys;
    int winner = 0;
    std::int64_t now = 0;
    std::int64_t nextGravity = 0;
    int gravityMs = kStartSpeedMs;
};

// Counts the pieces of player 1 and those that player 2's piece stopped on their way down.
class BlockWatch {
  public:
    void Look(const Game& g) {
        const figure& one = g.AktuellerSpielStein1;
        const figure& two = g.AktuellerSpielStein2;
        if (one.what != kPieceCells && one.what != kPieceBomb) return;
        if (!seen_ || one.y < lastY_) {
            ++pieces;
            blockedThisPiece_ = false;
        }
        seen_ = true;
        lastY_ = one.y;
        if (!blockedThisPiece_ && two.what != kPieceNone &&
            g.StoneCollision(one.x, one.y + 1, one.stone, two.x, two.y, two.stone) ==
                kCollisionPiece) {
            blockedThisPiece_ = true;
            ++blocked;
        }
    }
    long pieces = 0;
    long blocked = 0;

  private:
    bool seen_ = false;
    int lastY_ = 0;
    bool blockedThisPiece_ = false;
};

thread_local long allocationCount = 0;

// The processor time of this thread: a plan's cost without the time other programs took.
double ThreadMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

}  // namespace

long AllocationsOnThisThread() {
    return allocationCount;
}

void CountAllocation() {
    ++allocationCount;
}

MatchResult PlayMatch(const MatchSetup& setup) {
    Random random(setup.seed);
    MatchHost host;
    Game game(random, host);
    host.game = &game;
    std::array<std::optional<ComputerPlayer>, 2> computers;
    for (int side = 1; side <= 2; ++side) {
        const ComputerLevel level = setup.levels[static_cast<std::size_t>(side - 1)];
        if (level == ComputerLevel::kOff) continue;
        computers[static_cast<std::size_t>(side - 1)].emplace(
            level, side, setup.seed * 2654435761u + static_cast<std::uint32_t>(side));
        host.keys.Steer(side, true);
    }

    MatchResult result;
    BlockWatch watch;
    game.iGameStatus = setup.status;
    game.noScore = setup.status == kStatusFaceToFace ? 1 : 0;
    game.GameInit = 1;
    std::int64_t nextInput = 0, nextSpeedUp = 0;
    const auto startFromPaint = [&] {
        game.StartFromPaint();
        host.RestartGravityTimer(game.gamespeed);
        nextInput = host.now + kInputMs;
        nextSpeedUp = host.now + kSpeedUpMs;
    };
    startFromPaint();
    // Rows show in the points: a step adds at most one point for a down step besides them.
    const auto pointsPerRow =
        static_cast<std::uint32_t>(setup.status == kStatusCooperative ? 40 : 10);
    const auto countRows = [&](std::uint32_t pointsBefore) {
        if (game.iGameStatus != setup.status || setup.status == kStatusFaceToFace) return;
        result.rows += static_cast<int>((game.Up1Points - pointsBefore) / pointsPerRow);
    };

    while (IsGameRunning(game.iGameStatus) && host.now < kMaxGameMs) {
        if (setup.status != kStatusFaceToFace && result.rows >= setup.rowCap) {
            result.reachedCap = true;
            break;
        }
        host.now = std::min({nextInput, host.nextGravity, nextSpeedUp});
        if (host.now == nextSpeedUp) {
            nextSpeedUp += kSpeedUpMs;
            game.SpeedUpTick();
            continue;
        }
        if (host.now == host.nextGravity) {
            host.nextGravity += host.gravityMs;
            const std::uint32_t pointsBefore = game.Up1Points;
            game.GravityTick();
            countRows(pointsBefore);
            continue;
        }
        nextInput += kInputMs;
        if (setup.status == kStatusCooperative) watch.Look(game);
        for (std::size_t i = 0; i < 2; ++i) {
            if (!computers[i]) continue;
            const long plansBefore = computers[i]->Plans();
            const long allocationsBefore = allocationCount;
            const double start = ThreadMicros();
            const Requests requests = computers[i]->Poll(game);
            const double micros = ThreadMicros() - start;
            result.allocations += allocationCount - allocationsBefore;
            ++result.polls;
            if (computers[i]->Plans() != plansBefore) {
                result.plans += computers[i]->Plans() - plansBefore;
                result.planMicrosTotal += micros;
                result.planMicrosMax = std::max(result.planMicrosMax, micros);
                const auto bucket = static_cast<std::size_t>(micros / kPlanBucketMicros);
                ++result.planHistogram[std::min(bucket, result.planHistogram.size() - 1)];
            }
            result.requests[i] += requests.Count();
            host.keys.Set(static_cast<int>(i + 1), requests);
        }
        const std::uint32_t pointsBefore = game.Up1Points;
        const bool repaint = game.InputTick();
        host.keys.Release();
        countRows(pointsBefore);
        if (repaint) {
            ClearShownBlastMarkers(game);
            // The paint that follows starts a new bout afresh.
            if (game.GameInit == 1 && IsGameRunning(game.iGameStatus)) startFromPaint();
        }
    }
    result.minutes = static_cast<double>(host.now) / 60000.0;
    result.winner = host.winner;
    result.partnerPieces = watch.pieces;
    result.partnerPiecesBlocked = watch.blocked;
    return result;
}

}  // namespace blok::bench
