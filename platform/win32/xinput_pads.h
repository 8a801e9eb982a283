#pragma once

#include <windows.h>

#include <array>
#include <bitset>
#include <string>

#include "key_bindings.h"
#include "pad_input.h"

namespace blok::win32 {

// Gamepads through Windows' own XInput, loaded when the game starts: without its library every
// pad reads as not connected. The first connected pad is pad 0, the second pad 1. A press counts
// when a reading finds the button down that the reading before found up.
class XInputPads final : public PadInput {
  public:
    XInputPads();
    ~XInputPads() override;
    XInputPads(const XInputPads&) = delete;
    XInputPads& operator=(const XInputPads&) = delete;

    bool PressedSinceLastRead(int pad, int button) override;
    bool Held(int pad, int button) override;
    // A name for the Controls dialog; empty when the pad is not connected.
    std::string Name(int pad);

  private:
    static constexpr std::size_t kButtons = kActions + 1;
    using Buttons = std::bitset<kButtons>;
    struct Pad {
        int user = -1;  // XInput's slot, -1: not connected
        Buttons held;
        Buttons pressed;
    };
    void Poll();
    static bool Valid(int pad, int button);

    HMODULE library_ = nullptr;
    using GetStateCall = DWORD(WINAPI*)(DWORD user, void* state);
    GetStateCall getState_ = nullptr;
    std::array<Pad, kPads> pads_{};
    DWORD lastPoll_ = 0;
    bool polled_ = false;
};

}  // namespace blok::win32
