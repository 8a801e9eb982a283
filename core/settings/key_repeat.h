#pragma once

#include "settings.h"

namespace blok {

// The held reading of a Left or Right key with the optional repeat delay. The game polls keys
// on its input tick, so delay and rate count in ticks: each is rounded up to whole ticks.
// The first poll that finds the key down counts as time 0; the press itself moves once.
class KeyRepeat {
  public:
    // Called once per poll with what the keyboard says; returns what the game should see.
    bool Held(bool down, const RepeatTiming& timing, int tickMs);
    void Reset() { pollsHeld_ = 0; }

  private:
    int pollsHeld_ = 0;
};

}  // namespace blok
