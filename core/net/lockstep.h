#pragma once

#include <cstdint>

#include "game.h"
#include "protocol.h"
#include "random.h"

namespace blok::net {

// Repeats the host's ticks on one side's Game so that both Games pass through the same states.
// The key readings of a tick come from the tick itself, the generator is the fight's own (the
// program's shared generator keeps serving the title screen and the music), and the frame that
// follows a repainting tick is accounted for at the next tick, never by a paint.
class Lockstep {
  public:
    Lockstep(Game& game, std::uint32_t seed) : game_(game), random_(seed) {}

    // Plays the tick; returns true when the window should repaint.
    bool Apply(const Tick& tick);
    std::uint32_t NextNumber() const { return next_; }
    // A tick is being played (it may wait in the end-of-fight message).
    bool InTick() const { return inTick_; }

    // The Game's key readings while a tick is being played.
    bool PressedSinceLastRead(int virtualKey);
    bool Held(int virtualKey) const;

  private:
    // Which player's which request a key stands for, by the game's key assignment.
    struct KeySlot {
        std::uint8_t bit = 0;  // 0: a key the requests do not use
        bool playerOne = false;
    };
    KeySlot SlotOf(int virtualKey) const;

    Game& game_;
    Random random_;
    std::uint32_t next_ = 0;
    bool framePending_ = false;
    bool inTick_ = false;
    std::uint8_t pressed1_ = 0, pressed2_ = 0;  // consumed when read
    std::uint8_t held1_ = 0, held2_ = 0;
    bool pausePressed_ = false;
};

// A hash of everything the rules keep between ticks.
std::uint64_t HashGame(const Game& game);

// Request bits from key readings, as the input tick polls them.
struct KeyReading {
    bool leftPressed = false, leftHeld = false;
    bool rightPressed = false, rightHeld = false;
    bool turnPressed = false;
    bool downHeld = false;
};
std::uint8_t RequestsFrom(const KeyReading& keys);

}  // namespace blok::net
