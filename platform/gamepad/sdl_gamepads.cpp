#include "sdl_gamepads.h"

#include <SDL.h>

namespace blok::sdl {

namespace {

// How far the stick must lean (of 32767) to count as a direction.
constexpr Sint16 kStickDeadZone = 16000;

// The game's button for a controller button, or -1.
int ButtonOf(Uint8 controllerButton) {
    switch (controllerButton) {
        case SDL_CONTROLLER_BUTTON_A:
            return kRotate;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return kMoveLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return kMoveRight;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return kFasterDown;
        case SDL_CONTROLLER_BUTTON_START:
            return kPadPauseButton;
        default:
            return -1;
    }
}

constexpr SDL_GameControllerButton kControllerButtons[] = {
    SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_START};

}  // namespace

SdlGamepads::SdlGamepads() {
    // The game has its own window and signal handling; SDL only reads the pads, also while
    // the game's window (not SDL's) has the focus.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    available_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlGamepads::~SdlGamepads() {
    if (!available_) return;
    for (Pad& pad : pads_) {
        if (pad.controller) SDL_GameControllerClose(pad.controller);
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlGamepads::Poll() {
    if (!available_) return;
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) {
        switch (event.type) {
            case SDL_CONTROLLERDEVICEADDED:
                Connect(event.cdevice.which);
                break;
            case SDL_CONTROLLERDEVICEREMOVED:
                Disconnect(event.cdevice.which);
                break;
            case SDL_CONTROLLERBUTTONDOWN:
                if (Pad* pad = Find(event.cbutton.which)) {
                    const int button = ButtonOf(event.cbutton.button);
                    if (button >= 0) pad->pressed.set(std::size_t(button));
                }
                break;
            case SDL_CONTROLLERAXISMOTION:
                if (Pad* pad = Find(event.caxis.which)) {
                    // A lean that starts counts as a press, as a d-pad button would.
                    const Buttons now = StickNow(*pad);
                    pad->pressed |= now & ~pad->stick;
                    pad->stick = now;
                }
                break;
            default:
                break;
        }
    }
}

void SdlGamepads::Connect(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (Find(id)) return;
    for (Pad& pad : pads_) {
        if (pad.controller) continue;
        pad.controller = SDL_GameControllerOpen(deviceIndex);
        if (pad.controller) pad.id = id;
        return;
    }
}

void SdlGamepads::Disconnect(std::int32_t id) {
    if (Pad* pad = Find(id)) {
        SDL_GameControllerClose(pad->controller);
        *pad = Pad{};
    }
}

SdlGamepads::Pad* SdlGamepads::Find(std::int32_t id) {
    for (Pad& pad : pads_) {
        if (pad.controller && pad.id == id) return &pad;
    }
    return nullptr;
}

SdlGamepads::Buttons SdlGamepads::StickNow(const Pad& pad) const {
    const Sint16 x = SDL_GameControllerGetAxis(pad.controller, SDL_CONTROLLER_AXIS_LEFTX);
    const Sint16 y = SDL_GameControllerGetAxis(pad.controller, SDL_CONTROLLER_AXIS_LEFTY);
    Buttons stick;
    stick.set(kMoveLeft, x < -kStickDeadZone);
    stick.set(kMoveRight, x > kStickDeadZone);
    stick.set(kFasterDown, y > kStickDeadZone);
    return stick;
}

bool SdlGamepads::Valid(int pad, int button) {
    return pad >= 0 && pad < kPads && button >= 0 && button < int(kButtons);
}

bool SdlGamepads::PressedSinceLastRead(int pad, int button) {
    Poll();
    if (!Valid(pad, button)) return false;
    Pad& slot = pads_[std::size_t(pad)];
    const bool was = slot.pressed.test(std::size_t(button));
    slot.pressed.reset(std::size_t(button));
    return was;
}

bool SdlGamepads::Held(int pad, int button) {
    Poll();
    if (!Valid(pad, button)) return false;
    const Pad& slot = pads_[std::size_t(pad)];
    if (!slot.controller) return false;
    const auto bit = std::size_t(button);
    return SDL_GameControllerGetButton(slot.controller, kControllerButtons[bit]) == 1 ||
           StickNow(slot).test(bit);
}

std::string SdlGamepads::Name(int pad) {
    Poll();
    if (pad < 0 || pad >= kPads || !pads_[std::size_t(pad)].controller) return {};
    const char* name = SDL_GameControllerName(pads_[std::size_t(pad)].controller);
    return name ? name : "Gamepad";
}

}  // namespace blok::sdl
