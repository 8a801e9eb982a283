#include "computer_keys.h"

namespace blok {

void ComputerKeys::Set(int side, const Requests& r) {
    const unsigned bits = (r.left ? kLeft : 0u) | (r.right ? kRight : 0u) | (r.turn ? kTurn : 0u) |
                          (r.down ? kDown : 0u);
    pressed_[Index(side)] = bits;
    held_[Index(side)] = bits & ~unsigned{kTurn};  // a turn is a press, never held
}

void ComputerKeys::Release() {
    pressed_ = {};
    held_ = {};
}

ComputerKeys::Slot ComputerKeys::SlotOf(const Game& game, int virtualKey) const {
    const int keys[2][4] = {{game.key1left, game.key1right, game.key1up, game.key1down},
                            {game.key2left, game.key2right, game.key2up, game.key2down}};
    const unsigned bits[4] = {kLeft, kRight, kTurn, kDown};
    for (int side = 1; side <= 2; ++side) {
        if (!Steered(side)) continue;
        for (std::size_t i = 0; i < 4; ++i) {
            if ((keys[side - 1][i] & 0xFF) == virtualKey) return {side, bits[i]};
        }
    }
    return {};
}

std::optional<bool> ComputerKeys::Pressed(const Game& game, int virtualKey) {
    const Slot slot = SlotOf(game, virtualKey);
    if (slot.side == 0) return std::nullopt;
    unsigned& pressed = pressed_[Index(slot.side)];
    const bool result = (pressed & slot.bit) != 0;
    pressed &= ~slot.bit;
    return result;
}

std::optional<bool> ComputerKeys::Held(const Game& game, int virtualKey) const {
    const Slot slot = SlotOf(game, virtualKey);
    if (slot.side == 0) return std::nullopt;
    return (held_[Index(slot.side)] & slot.bit) != 0;
}

}  // namespace blok
