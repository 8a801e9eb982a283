#pragma once

#include <cstdint>

namespace blok {

// The one pseudo-random source of the program: a 15-bit linear congruential generator with
// results 0..32767. The starfield's rejection draws and the replayability of a game from its
// seed both depend on exactly this sequence.
class Random {
  public:
    static constexpr int kMax = 32767;
    static constexpr std::uint32_t kDefaultSeed = 1;

    explicit Random(std::uint32_t seed = kDefaultSeed) : state_(seed) {}

    void Seed(std::uint32_t seed) { state_ = seed; }

    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

  private:
    std::uint32_t state_;
};

}  // namespace blok
