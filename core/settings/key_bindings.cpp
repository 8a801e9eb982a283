#include "key_bindings.h"

#include <string>

#include "game.h"

namespace blok {

namespace {

struct KeyLabel {
    int virtualKey;
    PhysicalKey key;
    const char* name;
};

// The keys of a US layout the game can name, with their X keyboard key codes (the Linux input
// code + 8, as both X and Wayland desktops report them).
constexpr KeyLabel kKeyLabels[] = {
    {37, 113, "CursorLeft"}, {38, 111, "CursorUp"},   {39, 114, "CursorRight"},
    {40, 116, "CursorDown"}, {32, 65, "Space"},       {13, 36, "Return"},
    {27, 9, "Escape"},       {9, 23, "Tab"},          {8, 22, "Backspace"},
    {'Q', 24, "Q"},          {'W', 25, "W"},          {'E', 26, "E"},
    {'R', 27, "R"},          {'T', 28, "T"},          {'Y', 29, "Y"},
    {'U', 30, "U"},          {'I', 31, "I"},          {'O', 32, "O"},
    {'P', 33, "P"},          {'A', 38, "A"},          {'S', 39, "S"},
    {'D', 40, "D"},          {'F', 41, "F"},          {'G', 42, "G"},
    {'H', 43, "H"},          {'J', 44, "J"},          {'K', 45, "K"},
    {'L', 46, "L"},          {'Z', 52, "Z"},          {'X', 53, "X"},
    {'C', 54, "C"},          {'V', 55, "V"},          {'B', 56, "B"},
    {'N', 57, "N"},          {'M', 58, "M"},          {'1', 10, "1"},
    {'2', 11, "2"},          {'3', 12, "3"},          {'4', 13, "4"},
    {'5', 14, "5"},          {'6', 15, "6"},          {'7', 16, "7"},
    {'8', 17, "8"},          {'9', 18, "9"},          {'0', 19, "0"},
    {0, 50, "Shift"},        {0, 62, "RightShift"},   {0, 37, "Ctrl"},
    {0, 105, "RightCtrl"},   {0, 64, "Alt"},          {0, 108, "AltGr"},
    {0, 90, "Keypad0"},      {0, 87, "Keypad1"},      {0, 88, "Keypad2"},
    {0, 89, "Keypad3"},      {0, 83, "Keypad4"},      {0, 84, "Keypad5"},
    {0, 85, "Keypad6"},      {0, 79, "Keypad7"},      {0, 80, "Keypad8"},
    {0, 81, "Keypad9"},      {0, 104, "KeypadEnter"},
};

// The rules' key codes per action, in the order of Action.
constexpr int kCursorCodes[kActions] = {38, 37, 39, 40};
constexpr int kLetterCodes[kActions] = {'W', 'A', 'D', 'S'};

std::optional<int> ActionOfCode(const int (&codes)[kActions], int virtualKey) {
    for (int action = 0; action < kActions; ++action) {
        if (codes[action] == virtualKey) return action;
    }
    return std::nullopt;
}

// The sides that play in the same game type as `side`.
bool SameGameType(Side a, Side b) {
    return (a == kOnePlayer) == (b == kOnePlayer);
}

}  // namespace

PhysicalKey PhysicalKeyOfVirtualKey(int virtualKey) {
    if (virtualKey == 0) return kNoKey;
    for (const KeyLabel& label : kKeyLabels) {
        if (label.virtualKey == virtualKey) return label.key;
    }
    return kNoKey;
}

std::string PhysicalKeyName(PhysicalKey key) {
    for (const KeyLabel& label : kKeyLabels) {
        if (label.key == key) return label.name;
    }
    return "Key " + std::to_string(key);
}

namespace {

// How the dialogs show a side or an action, and how the settings file names it.
struct Names {
    const char* shown;
    const char* stored;
};
constexpr Names kSideNames[kSides] = {
    {"One player", "OnePlayer"}, {"Left player", "LeftPlayer"}, {"Right player", "RightPlayer"}};
constexpr Names kActionNames[kActions] = {
    {"Rotate", "Rotate"}, {"Left", "Left"}, {"Right", "Right"}, {"Faster down", "FasterDown"}};

}  // namespace

const char* SideName(Side side) {
    return kSideNames[side].shown;
}
const char* ActionName(Action action) {
    return kActionNames[action].shown;
}

std::string StoredName(const KeySlot& slot) {
    if (slot.pause) return "Pause";
    return std::string(kSideNames[slot.side].stored) + kActionNames[slot.action].stored;
}

std::string SlotName(const KeySlot& slot) {
    if (slot.pause) return "Pause";
    return std::string(SideName(slot.side)) + ": " + ActionName(slot.action);
}

const std::array<KeySlot, kSlots>& AllSlots() {
    static const std::array<KeySlot, kSlots> slots = [] {
        std::array<KeySlot, kSlots> all{KeySlot{true}};
        for (int i = 1; i < kSlots; ++i) {
            all[std::size_t(i)] =
                KeySlot{false, Side((i - 1) / kActions), Action((i - 1) % kActions)};
        }
        return all;
    }();
    return slots;
}

PhysicalKey& KeyBindings::At(const KeySlot& slot) {
    return slot.pause ? pause : keys[std::size_t(slot.side)][std::size_t(slot.action)];
}

PhysicalKey KeyBindings::At(const KeySlot& slot) const {
    return slot.pause ? pause : keys[std::size_t(slot.side)][std::size_t(slot.action)];
}

KeyBindings DefaultKeyBindings() {
    KeyBindings bindings;
    for (int action = 0; action < kActions; ++action) {
        const auto a = std::size_t(action);
        bindings.keys[kOnePlayer][a] = PhysicalKeyOfVirtualKey(kCursorCodes[action]);
        bindings.keys[kLeftPlayer][a] = PhysicalKeyOfVirtualKey(kLetterCodes[action]);
        bindings.keys[kRightPlayer][a] = PhysicalKeyOfVirtualKey(kCursorCodes[action]);
    }
    bindings.pause = PhysicalKeyOfVirtualKey('P');
    return bindings;
}

std::optional<KeySlot> ConflictOf(const KeyBindings& bindings, const KeySlot& slot,
                                  PhysicalKey key) {
    const KeySlot pause{true};
    if (!slot.pause && bindings.pause == key) return pause;
    for (const KeySlot& other : AllSlots()) {
        if (other.pause || other == slot || bindings.At(other) != key) continue;
        if (slot.pause || SameGameType(slot.side, other.side)) return other;
    }
    return std::nullopt;
}

std::optional<KeySlot> Assign(KeyBindings& bindings, const KeySlot& slot, PhysicalKey key) {
    if (auto conflict = ConflictOf(bindings, slot, key)) return conflict;
    bindings.At(slot) = key;
    return std::nullopt;
}

bool Usable(const KeyBindings& bindings) {
    for (const KeySlot& slot : AllSlots()) {
        const PhysicalKey key = bindings.At(slot);
        if (key <= kNoKey || key > kLastPhysicalKey || ConflictOf(bindings, slot, key)) {
            return false;
        }
    }
    return true;
}

std::optional<KeySlot> SlotOfVirtualKey(int virtualKey, int gameStatus) {
    if (virtualKey == 'P') return KeySlot{true};
    if (const auto action = ActionOfCode(kCursorCodes, virtualKey)) {
        const Side side = gameStatus == kStatusOnePlayer ? kOnePlayer : kRightPlayer;
        return KeySlot{false, side, Action(*action)};
    }
    if (const auto action = ActionOfCode(kLetterCodes, virtualKey)) {
        return KeySlot{false, kLeftPlayer, Action(*action)};
    }
    return std::nullopt;
}

}  // namespace blok
