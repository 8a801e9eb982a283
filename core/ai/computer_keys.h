#pragma once

#include <array>
#include <optional>

#include "computer_player.h"
#include "game.h"

namespace blok {

// The key readings of the sides the computer steers, for one input tick: the rules read them by
// their own key assignment, as they read a person's keys. Left, right and down read as held,
// every request also as pressed once.
class ComputerKeys {
  public:
    // This tick's requests of `side` (1 or 2).
    void Set(int side, const Requests& requests);
    // After the tick nothing is pressed or held any more.
    void Release();

    // Empty when the key belongs to no side that is steered.
    std::optional<bool> Pressed(const Game& game, int virtualKey);
    std::optional<bool> Held(const Game& game, int virtualKey) const;

    void Steer(int side, bool steered) { steered_[Index(side)] = steered; }
    bool Steered(int side) const { return steered_[Index(side)]; }

  private:
    enum Bit : unsigned { kLeft = 1, kRight = 2, kTurn = 4, kDown = 8 };
    struct Slot {
        int side = 0;  // 0: not a steered side's key
        unsigned bit = 0;
    };
    static std::size_t Index(int side) { return side == 2 ? 1 : 0; }
    Slot SlotOf(const Game& game, int virtualKey) const;

    std::array<bool, 2> steered_{};
    std::array<unsigned, 2> pressed_{};
    std::array<unsigned, 2> held_{};
};

}  // namespace blok
