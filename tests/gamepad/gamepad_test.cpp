#include "sdl_gamepads.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>

#include "shell_program.h"

namespace blok::sdl {
namespace {

// A pad plugged in through SDL's virtual joystick, with the game controller's buttons and axes
// in their standard order.
class VirtualPad {
  public:
    VirtualPad() {
        const int index =
            SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
        if (index >= 0) {
            id_ = SDL_JoystickGetDeviceInstanceID(index);
            joystick_ = SDL_JoystickOpen(index);
        }
    }
    ~VirtualPad() { Unplug(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool Plugged() const { return joystick_ != nullptr; }
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
    }
    void Axis(SDL_GameControllerAxis axis, Sint16 value) {
        SDL_JoystickSetVirtualAxis(joystick_, axis, value);
    }
    void Unplug() {
        if (!joystick_) return;
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) == id_) SDL_JoystickDetachVirtual(index);
        }
    }

  private:
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID id_ = -1;
};

class GamepadTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(pads.Available()) << SDL_GetError(); }
    SdlGamepads pads;
};

TEST_F(GamepadTest, PadsTakeTheirPlacesInTheOrderTheyArePluggedInAndLeaveThemFree) {
    EXPECT_EQ(pads.Name(0), "");
    auto first = std::make_unique<VirtualPad>();
    ASSERT_TRUE(first->Plugged());
    EXPECT_NE(pads.Name(0), "");
    VirtualPad second;
    EXPECT_NE(pads.Name(1), "");
    first->Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_TRUE(pads.Held(0, kPadPauseButton));
    EXPECT_FALSE(pads.Held(1, kPadPauseButton));
    first.reset();
    EXPECT_EQ(pads.Name(0), "");
    EXPECT_FALSE(pads.Held(0, kPadPauseButton));
    EXPECT_NE(pads.Name(1), "");
}

TEST_F(GamepadTest, DpadStickAndButtonsReadAsTheGamesRequests) {
    VirtualPad pad;
    ASSERT_TRUE(pad.Plugged());
    pads.Poll();
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    pads.Poll();
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    // Pressed and let go between two readings still counts once.
    EXPECT_TRUE(pads.PressedSinceLastRead(0, kRotate));
    EXPECT_FALSE(pads.PressedSinceLastRead(0, kRotate));
    EXPECT_FALSE(pads.Held(0, kRotate));

    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    EXPECT_TRUE(pads.Held(0, kMoveRight));
    EXPECT_TRUE(pads.PressedSinceLastRead(0, kMoveRight));

    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    EXPECT_TRUE(pads.Held(0, kMoveLeft));
    EXPECT_TRUE(pads.PressedSinceLastRead(0, kMoveLeft));
    EXPECT_TRUE(pads.Held(0, kFasterDown));
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -2000);  // inside the dead zone
    EXPECT_FALSE(pads.Held(0, kMoveLeft));
    EXPECT_FALSE(pads.PressedSinceLastRead(0, kMoveLeft));
}

TEST_F(GamepadTest, APadButtonMovesThePieceOfItsSide) {
    VirtualPad first;
    VirtualPad second;
    ASSERT_TRUE(first.Plugged() && second.Plugged());
    Program p;
    p.platform.pads = &pads;
    p.LaunchAndPlay(1, 1);
    p.platform.RunFor(120);
    const int x = p.game().AktuellerSpielStein1.x;
    // The second pad plays no side of the one-player game.
    second.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    p.platform.RunFor(60);
    EXPECT_EQ(p.game().AktuellerSpielStein1.x, x);
    second.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    first.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    p.platform.RunFor(60);
    first.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    p.platform.RunFor(60);
    EXPECT_EQ(p.game().AktuellerSpielStein1.x, x - 1);
}

}  // namespace
}  // namespace blok::sdl
