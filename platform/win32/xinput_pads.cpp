#include "xinput_pads.h"

#include <xinput.h>

namespace blok::win32 {

namespace {

// XInput has four slots; the game plays with the first two pads it finds there.
constexpr DWORD kUsers = 4;
// How far the stick must lean (of 32767) to count as a direction.
constexpr SHORT kStickDeadZone = 16000;
// Readings closer together than this share one look at the pads.
constexpr DWORD kPollMs = 5;

// The game's buttons as the pad shows them: A turns, the pad's cross and the left stick move,
// Start pauses.
std::bitset<kActions + 1> ButtonsOf(const XINPUT_GAMEPAD& pad) {
    std::bitset<kActions + 1> buttons;
    buttons.set(kRotate, (pad.wButtons & XINPUT_GAMEPAD_A) != 0);
    buttons.set(kMoveLeft,
                (pad.wButtons & XINPUT_GAMEPAD_DPAD_LEFT) != 0 || pad.sThumbLX < -kStickDeadZone);
    buttons.set(kMoveRight,
                (pad.wButtons & XINPUT_GAMEPAD_DPAD_RIGHT) != 0 || pad.sThumbLX > kStickDeadZone);
    buttons.set(kFasterDown,
                (pad.wButtons & XINPUT_GAMEPAD_DPAD_DOWN) != 0 || pad.sThumbLY < -kStickDeadZone);
    buttons.set(kPadPauseButton, (pad.wButtons & XINPUT_GAMEPAD_START) != 0);
    return buttons;
}

}  // namespace

XInputPads::XInputPads() {
    for (const wchar_t* name : {L"xinput1_4.dll", L"xinput9_1_0.dll"}) {
        library_ = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (library_ != nullptr) break;
    }
    if (library_ == nullptr) return;
    getState_ = reinterpret_cast<GetStateCall>(
        reinterpret_cast<void*>(GetProcAddress(library_, "XInputGetState")));
}

XInputPads::~XInputPads() {
    if (library_ != nullptr) FreeLibrary(library_);
}

void XInputPads::Poll() {
    if (getState_ == nullptr) return;
    const DWORD now = GetTickCount();
    if (polled_ && now - lastPoll_ < kPollMs) return;
    polled_ = true;
    lastPoll_ = now;
    std::size_t next = 0;
    for (DWORD user = 0; user < kUsers && next < pads_.size(); ++user) {
        XINPUT_STATE state{};
        if (getState_(user, &state) != ERROR_SUCCESS) continue;
        Pad& pad = pads_[next++];
        if (pad.user != static_cast<int>(user)) pad = Pad{static_cast<int>(user), {}, {}};
        const Buttons buttons = ButtonsOf(state.Gamepad);
        pad.pressed |= buttons & ~pad.held;
        pad.held = buttons;
    }
    for (; next < pads_.size(); ++next) pads_[next] = Pad{};
}

bool XInputPads::Valid(int pad, int button) {
    return pad >= 0 && pad < kPads && button >= 0 && button < static_cast<int>(kButtons);
}

bool XInputPads::PressedSinceLastRead(int pad, int button) {
    Poll();
    if (!Valid(pad, button)) return false;
    Pad& slot = pads_[static_cast<std::size_t>(pad)];
    const bool was = slot.pressed.test(static_cast<std::size_t>(button));
    slot.pressed.reset(static_cast<std::size_t>(button));
    return was;
}

bool XInputPads::Held(int pad, int button) {
    Poll();
    return Valid(pad, button) &&
           pads_[static_cast<std::size_t>(pad)].held.test(static_cast<std::size_t>(button));
}

std::string XInputPads::Name(int pad) {
    Poll();
    if (pad < 0 || pad >= kPads || pads_[static_cast<std::size_t>(pad)].user < 0) return {};
    return "XInput pad " + std::to_string(pads_[static_cast<std::size_t>(pad)].user + 1);
}

}  // namespace blok::win32
