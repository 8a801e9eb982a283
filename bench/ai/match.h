#pragma once

#include <array>
#include <cstdint>

#include "computer_level.h"

namespace blok::bench {

// One headless game played by the computer through the real rules on a virtual clock: input
// ticks every 60 ms, gravity from 350 ms and 5 ms faster every 10 s, a paint after every tick
// that asks for one.
struct MatchSetup {
    int status = 3;  // kStatusOnePlayer, kStatusCooperative or kStatusFaceToFace
    std::array<ComputerLevel, 2> levels{ComputerLevel::kHard, ComputerLevel::kOff};
    std::uint32_t seed = 1;
    int rowCap = 2000;  // a one-player or cooperative game stops once it has removed as many
};

struct MatchResult {
    int rows = 0;
    bool reachedCap = false;
    double minutes = 0;
    int winner = 0;  // face to face: the side that won the fight
    std::array<long, 2> requests{};
    // Cooperative: pieces of the left player, and how many of them the right one's piece stopped.
    long partnerPieces = 0;
    long partnerPiecesBlocked = 0;
    // The computer's work: polls, plans, their processor time and what they allocated.
    long polls = 0;
    long plans = 0;
    double planMicrosTotal = 0;
    double planMicrosMax = 0;
    // Plans by processor time in steps of kPlanBucketMicros; the last bucket holds all longer.
    std::array<long, 200> planHistogram{};
    long allocations = 0;
};

inline constexpr double kPlanBucketMicros = 10;

MatchResult PlayMatch(const MatchSetup& setup);

// Allocations made so far on this thread: the program's operator new calls CountAllocation.
long AllocationsOnThisThread();
void CountAllocation();

}  // namespace blok::bench
