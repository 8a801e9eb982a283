#pragma once

namespace blok {

// Gamepads as the game polls them: pad 0 or 1, an action or the pause button (key_bindings.h).
// A pad that is not connected reads as idle.
class PadInput {
  public:
    virtual ~PadInput() = default;
    virtual bool PressedSinceLastRead(int pad, int button) = 0;
    virtual bool Held(int pad, int button) = 0;
};

}  // namespace blok
