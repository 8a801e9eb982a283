// Measures the computer player's levels on headless games from seeds: one-player games, fights
// of each level against each other with sides swapped on every seed, cooperative games beside a
// Hard partner. Prints one figure per line, `name value`.
// Usage: ai_bench [--seeds N] [--seed-base S] [--cap ROWS] [--threads N] [--only solo|fight|coop]
//                 [--check]
// --check exits with 1 when a level plays clearly below what it is meant to.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "game.h"
#include "match.h"

// Every allocation of the program is counted, so that the bench shows the computer's polls
// allocating nothing.
void* operator new(std::size_t size) {
    blok::bench::CountAllocation();
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using blok::ComputerLevel;
using blok::LevelName;
using blok::bench::MatchResult;
using blok::bench::MatchSetup;
using blok::bench::PlayMatch;

struct Options {
    int seeds = 200;
    std::uint32_t seedBase = 1;
    int cap = 2000;
    int threads = 0;
    bool check = false;
    std::string only;  // empty: every kind of game
    bool Runs(std::string_view kind) const { return only.empty() || only == kind; }
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--check") {
            o.check = true;
        } else if (arg == "--seeds" && hasValue) {
            o.seeds = std::atoi(argv[++i]);
        } else if (arg == "--seed-base" && hasValue) {
            o.seedBase = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--cap" && hasValue) {
            o.cap = std::atoi(argv[++i]);
        } else if (arg == "--only" && hasValue) {
            o.only = argv[++i];
        } else if (arg == "--threads" && hasValue) {
            o.threads = std::atoi(argv[++i]);
        } else {
            return false;
        }
    }
    return o.seeds > 0 && o.cap > 0;
}

// Runs the jobs on a few threads; each writes only its own result, so the figures do not
// depend on the order they finish in.
void RunAll(std::vector<std::function<void()>>& jobs, int threads) {
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) jobs[i]();
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
}

void Print(const std::string& name, double value) {
    std::printf("%s %.6g\n", name.c_str(), value);
}

// A 95 % interval of a share (Wilson's).
void PrintShare(const std::string& name, long hits, long total) {
    const double n = static_cast<double>(total);
    const double p = total > 0 ? static_cast<double>(hits) / n : 0;
    const double z = 1.96;
    const double centre = (p + z * z / (2 * n)) / (1 + z * z / n);
    const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / (1 + z * z / n);
    Print(name, p);
    Print(name + "_ci95_low", std::max(0.0, centre - half));
    Print(name + "_ci95_high", std::min(1.0, centre + half));
}

double Median(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

struct Totals {
    double rows = 0, minutes = 0, requests = 0;
    long polls = 0, plans = 0, allocations = 0;
    double planMicros = 0, planMicrosMax = 0;
    std::array<long, 200> planHistogram{};
    // The time that all but one in a thousand plans stay within (the top of its bucket).
    double PlanMicrosBelow(double share) const {
        long seen = 0;
        for (std::size_t i = 0; i < planHistogram.size(); ++i) {
            seen += planHistogram[i];
            if (static_cast<double>(seen) >= share * static_cast<double>(plans)) {
                return static_cast<double>(i + 1) * blok::bench::kPlanBucketMicros;
            }
        }
        return planMicrosMax;
    }
    void Add(const MatchResult& r, std::size_t side) {
        rows += r.rows;
        minutes += r.minutes;
        requests += static_cast<double>(r.requests[side]);
        polls += r.polls;
        plans += r.plans;
        allocations += r.allocations;
        planMicros += r.planMicrosTotal;
        planMicrosMax = std::max(planMicrosMax, r.planMicrosMax);
        for (std::size_t i = 0; i < planHistogram.size(); ++i) {
            planHistogram[i] += r.planHistogram[i];
        }
    }
};

struct Failure {
    std::vector<std::string> lines;
    void Expect(bool ok, const std::string& what) {
        if (!ok) lines.push_back(what);
    }
};

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, o)) {
        std::cerr << "usage: ai_bench [--seeds N] [--seed-base S] [--cap ROWS] [--threads N] "
                     "[--only solo|fight|coop] [--check]\n";
        return 2;
    }
    const int threads = o.threads > 0
                            ? o.threads
                            : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const auto started = std::chrono::steady_clock::now();
    const auto seedOf = [&](int i) { return o.seedBase + static_cast<std::uint32_t>(i); };
    const std::size_t seeds = static_cast<std::size_t>(o.seeds);

    const ComputerLevel levels[] = {ComputerLevel::kEasy, ComputerLevel::kNormal,
                                    ComputerLevel::kHard};
    struct Pair {
        ComputerLevel stronger, weaker;
    };
    const Pair pairs[] = {{ComputerLevel::kHard, ComputerLevel::kNormal},
                          {ComputerLevel::kNormal, ComputerLevel::kEasy},
                          {ComputerLevel::kHard, ComputerLevel::kEasy}};

    std::vector<std::vector<MatchResult>> solo(3, std::vector<MatchResult>(seeds));
    std::vector<std::vector<MatchResult>> coop(3, std::vector<MatchResult>(seeds));
    std::vector<std::vector<MatchResult>> fights(3, std::vector<MatchResult>(2 * seeds));
    std::vector<std::function<void()>> jobs;
    for (std::size_t l = 0; l < 3; ++l) {
        for (std::size_t s = 0; s < seeds; ++s) {
            if (o.Runs("solo"))
                jobs.push_back([&, l, s] {
                    solo[l][s] = PlayMatch({blok::kStatusOnePlayer,
                                            {levels[l], ComputerLevel::kOff},
                                            seedOf(static_cast<int>(s)),
                                            o.cap});
                });
            if (o.Runs("coop"))
                jobs.push_back([&, l, s] {
                    coop[l][s] = PlayMatch({blok::kStatusCooperative,
                                            {ComputerLevel::kHard, levels[l]},
                                            seedOf(static_cast<int>(s)),
                                            o.cap});
                });
        }
    }
    for (std::size_t p = 0; p < 3; ++p) {
        for (std::size_t s = 0; s < 2 * seeds && o.Runs("fight"); ++s) {
            jobs.push_back([&, p, s] {
                const bool swapped = s % 2 == 1;
                const Pair& pair = pairs[p];
                fights[p][s] = PlayMatch(
                    {blok::kStatusFaceToFace,
                     {swapped ? pair.weaker : pair.stronger, swapped ? pair.stronger : pair.weaker},
                     seedOf(static_cast<int>(s / 2)),
                     o.cap});
            });
        }
    }
    // The long games first, so that the threads end together.
    std::reverse(jobs.begin(), jobs.end());
    RunAll(jobs, threads);

    Failure failure;
    Print("seeds", o.seeds);
    Print("seed_base", o.seedBase);
    Print("cap", o.cap);
    Totals work;
    for (std::size_t l = 0; l < 3 && o.Runs("solo"); ++l) {
        const std::string name = "solo_" + std::string(LevelName(levels[l])) + "_";
        std::vector<int> rows;
        Totals t;
        long capped = 0;
        for (const MatchResult& r : solo[l]) {
            rows.push_back(r.rows);
            t.Add(r, 0);
            work.Add(r, 0);
            capped += r.reachedCap ? 1 : 0;
        }
        const double n = static_cast<double>(seeds);
        const double mean = t.rows / n;
        double variance = 0;
        for (int v : rows) variance += (v - mean) * (v - mean);
        variance /= std::max(n - 1, 1.0);
        const double half = 1.96 * std::sqrt(variance / n);
        const double median = Median(rows);
        Print(name + "games", n);
        Print(name + "rows_median", median);
        Print(name + "rows_mean", mean);
        Print(name + "rows_mean_ci95_low", mean - half);
        Print(name + "rows_mean_ci95_high", mean + half);
        PrintShare(name + "cap_share", capped, static_cast<long>(seeds));
        Print(name + "rows_per_minute", t.rows / t.minutes);
        Print(name + "requests_per_second", t.requests / (t.minutes * 60));
        if (levels[l] == ComputerLevel::kHard) {
            failure.Expect(static_cast<double>(capped) >= 0.75 * n, "hard seldom reaches the cap");
        } else if (levels[l] == ComputerLevel::kNormal) {
            failure.Expect(median >= std::min(200.0, 0.8 * o.cap), "normal clears too few rows");
        } else {
            failure.Expect(median >= std::min(30.0, 0.8 * o.cap), "easy clears too few rows");
        }
    }
    for (std::size_t p = 0; p < 3 && o.Runs("fight"); ++p) {
        const std::string name = "fight_" + std::string(LevelName(pairs[p].stronger)) + "_vs_" +
                                 std::string(LevelName(pairs[p].weaker)) + "_won_share";
        long won = 0;
        for (std::size_t s = 0; s < fights[p].size(); ++s) {
            const int strongerSide = s % 2 == 1 ? 2 : 1;
            won += fights[p][s].winner == strongerSide ? 1 : 0;
            work.Add(fights[p][s], 0);
            work.Add(fights[p][s], 1);
        }
        PrintShare(name, won, static_cast<long>(fights[p].size()));
        failure.Expect(static_cast<double>(won) >= 0.6 * static_cast<double>(fights[p].size()),
                       name + " too low");
    }
    for (std::size_t l = 0; l < 3 && o.Runs("coop"); ++l) {
        const std::string name = "coop_" + std::string(LevelName(levels[l])) + "_";
        Totals t;
        long pieces = 0, blocked = 0;
        for (const MatchResult& r : coop[l]) {
            t.Add(r, 1);
            work.Add(r, 1);
            pieces += r.partnerPieces;
            blocked += r.partnerPiecesBlocked;
        }
        Print(name + "team_rows_per_minute", t.rows / t.minutes);
        Print(name + "partner_pieces_blocked_share",
              pieces > 0 ? static_cast<double>(blocked) / static_cast<double>(pieces) : 0);
    }
    Print("plan_micros_mean",
          work.plans > 0 ? work.planMicros / static_cast<double>(work.plans) : 0);
    Print("plan_micros_p999", work.PlanMicrosBelow(0.999));
    Print("plan_micros_max", work.planMicrosMax);
    Print("allocations_per_poll",
          work.polls > 0 ? static_cast<double>(work.allocations) / static_cast<double>(work.polls)
                         : 0);
    failure.Expect(work.allocations == 0, "the computer allocates while it plays");
    Print("threads", threads);
    Print("seconds",
          std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    if (o.check) {
        for (const std::string& line : failure.lines) std::cerr << "below target: " << line << '\n';
        if (!failure.lines.empty()) return 1;
    }
    return 0;
}
