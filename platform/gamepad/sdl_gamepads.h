#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

#include "key_bindings.h"
#include "pad_input.h"

struct _SDL_GameController;

namespace blok::sdl {

// Up to two gamepads through SDL's game-controller API, plugged in and out at any time: the
// first one connected is pad 0, the next pad 1; a pad that goes leaves its place free. The
// d-pad and the left stick move left, right and faster down, the south button rotates and
// Start pauses. Every reading first takes in what SDL has seen since the last one.
class SdlGamepads final : public PadInput {
  public:
    SdlGamepads();
    ~SdlGamepads() override;
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // False when SDL could not start its game-controller part: every pad then reads idle.
    bool Available() const { return available_; }
    void Poll();
    bool PressedSinceLastRead(int pad, int button) override;
    bool Held(int pad, int button) override;
    // The pad's name, empty when none is connected there.
    std::string Name(int pad);

  private:
    static constexpr std::size_t kButtons = kActions + 1;
    using Buttons = std::bitset<kButtons>;
    struct Pad {
        _SDL_GameController* controller = nullptr;
        std::int32_t id = -1;
        Buttons pressed;
        Buttons stick;  // directions the stick points to beyond its dead zone
    };

    void Connect(int deviceIndex);
    void Disconnect(std::int32_t id);
    Pad* Find(std::int32_t id);
    Buttons StickNow(const Pad& pad) const;
    static bool Valid(int pad, int button);

    bool available_ = false;
    std::array<Pad, kPads> pads_{};
};

}  // namespace blok::sdl
