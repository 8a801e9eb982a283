#pragma once

namespace blok {

// While a network fight runs, the game's ticks and key readings go through here instead of
// straight to the game and the keyboard: the hosting side streams them to the other machine,
// the joining side plays the host's ticks in their place.
class TickRoute {
  public:
    enum class Kind { kStart, kGravity, kSpeedUp, kInput };

    virtual ~TickRoute() = default;
    // A fight is on: ticks and key readings take this route.
    virtual bool Active() const = 0;
    // The shell's tick of `kind` is due; returns true when the window should repaint.
    virtual bool RunTick(Kind kind) = 0;
    virtual bool PressedSinceLastRead(int virtualKey) = 0;
    virtual bool Held(int virtualKey) = 0;
    // The player left the window: both games pause at the same tick, unless they already are.
    virtual void PauseWhileAway() = 0;
};

}  // namespace blok
