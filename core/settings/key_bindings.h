#pragma once

#include <array>
#include <optional>
#include <string>

namespace blok {

// A physical key: the keyboard's own number for it (the X keyboard's key code, as the desktop
// reports it), whatever character the layout puts on it. 0 is no key.
using PhysicalKey = int;
inline constexpr PhysicalKey kNoKey = 0;
inline constexpr PhysicalKey kLastPhysicalKey = 255;

// The physical key that carries this virtual-key code on a US layout, or kNoKey. Used for the
// default bindings and for key events that come without a key code.
PhysicalKey PhysicalKeyOfVirtualKey(int virtualKey);
// A short name for the dialogs: the US layout's label ("A", "CursorLeft"), else "Key N".
std::string PhysicalKeyName(PhysicalKey key);

// Who a binding belongs to: the one-player game, or a side of the two-player games.
enum Side { kOnePlayer = 0, kLeftPlayer = 1, kRightPlayer = 2 };
inline constexpr int kSides = 3;
// What a key asks for; the order of the game's key table.
enum Action { kRotate = 0, kMoveLeft = 1, kMoveRight = 2, kFasterDown = 3 };
inline constexpr int kActions = 4;

const char* SideName(Side side);
const char* ActionName(Action action);

// One place in the binding table: a side's action, or the pause key shared by every game.
struct KeySlot {
    bool pause = false;
    Side side = kOnePlayer;
    Action action = kRotate;
    friend bool operator==(const KeySlot&, const KeySlot&) = default;
};
std::string SlotName(const KeySlot& slot);
// The slot's name in the settings file: "OnePlayerLeft", "Pause".
std::string StoredName(const KeySlot& slot);

// Every slot: the pause key first, then each side's actions.
inline constexpr int kSlots = 1 + kSides * kActions;
const std::array<KeySlot, kSlots>& AllSlots();

struct KeyBindings {
    std::array<std::array<PhysicalKey, kActions>, kSides> keys{};
    PhysicalKey pause = kNoKey;

    PhysicalKey& At(const KeySlot& slot);
    PhysicalKey At(const KeySlot& slot) const;
    friend bool operator==(const KeyBindings&, const KeyBindings&) = default;
};

// The game's own keys: cursor keys alone, A/D/W/S left and cursor keys right together, P.
KeyBindings DefaultKeyBindings();

// The slot of the same game type that already uses `key` (the one-player game and the
// two-player games are separate; the pause key belongs to both), or nothing.
std::optional<KeySlot> ConflictOf(const KeyBindings& bindings, const KeySlot& slot,
                                  PhysicalKey key);
// Assigns `key` unless another slot of the same game type has it; returns that slot then.
std::optional<KeySlot> Assign(KeyBindings& bindings, const KeySlot& slot, PhysicalKey key);
// True when every slot has a key and no game type uses a key twice.
bool Usable(const KeyBindings& bindings);

// What a game's key reading (by the virtual-key code the rules use) stands for in a game of
// the given status: the cursor keys belong to the one-player game or to the right player, the
// letters to the left player, P to pause. Nothing for other codes.
std::optional<KeySlot> SlotOfVirtualKey(int virtualKey, int gameStatus);

// Gamepad buttons share the key readings' numbers above the keyboard's: pad 0 or 1, and an
// action or the pause (Start) button.
inline constexpr int kPads = 2;
inline constexpr int kPadPauseButton = kActions;
inline constexpr int kFirstPadKey = kLastPhysicalKey + 1;
inline constexpr int kLastPadKey = kFirstPadKey + kPads * (kActions + 1) - 1;
inline constexpr int PadKey(int pad, int button) {
    return kFirstPadKey + pad * (kActions + 1) + button;
}
inline constexpr bool IsPadKey(int key) {
    return key >= kFirstPadKey && key <= kLastPadKey;
}
inline constexpr int PadOfKey(int key) {
    return (key - kFirstPadKey) / (kActions + 1);
}
inline constexpr int PadButtonOfKey(int key) {
    return (key - kFirstPadKey) % (kActions + 1);
}

}  // namespace blok
