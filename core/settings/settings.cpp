#include "settings.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "ids_and_sizes.h"

namespace blok {

namespace {

std::string BindingKey(const KeySlot& slot) {
    return "Keys/" + StoredName(slot);
}

std::optional<int> IntOf(const SettingValues& values, const std::string& key) {
    const auto found = values.find(key);
    if (found == values.end()) return std::nullopt;
    const std::string& text = found->second;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

void ReadInt(const SettingValues& values, const std::string& key, int low, int high, int& out) {
    const auto value = IntOf(values, key);
    if (value && *value >= low && *value <= high) out = *value;
}

// A level, where a number past either end means that end: "-40" is silence, not the default.
void ReadLevel(const SettingValues& values, const std::string& key, int low, int high, int& out) {
    if (const auto value = IntOf(values, key)) out = std::clamp(*value, low, high);
}

void ReadBool(const SettingValues& values, const std::string& key, bool& out) {
    const auto found = values.find(key);
    if (found == values.end()) return;
    if (found->second == "true") out = true;
    if (found->second == "false") out = false;
}

KeyBindings ReadBindings(const SettingValues& values) {
    KeyBindings bindings = DefaultKeyBindings();
    for (const KeySlot& slot : AllSlots()) {
        ReadInt(values, BindingKey(slot), 1, kLastPhysicalKey, bindings.At(slot));
    }
    return Usable(bindings) ? bindings : DefaultKeyBindings();
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

Settings SettingsFromValues(const SettingValues& values) {
    Settings settings;
    ReadInt(values, "Display/Zoom", kMinZoom, kMaxZoom, settings.zoom);
    ReadBool(values, "Display/FullScreen", settings.fullScreen);
    settings.keys = ReadBindings(values);
    ReadBool(values, "Keys/RepeatDelay", settings.repeat.on);
    ReadInt(values, "Keys/RepeatDelayMs", kMinRepeatMs, kMaxRepeatMs, settings.repeat.delayMs);
    ReadInt(values, "Keys/RepeatRateMs", kMinRepeatMs, kMaxRepeatMs, settings.repeat.rateMs);
    ReadBool(values, "Gamepads/Swap", settings.swapPads);
    ReadBool(values, "Window/PauseOnFocusLoss", settings.pauseOnFocusLoss);
    ReadBool(values, "Window/ShowPaused", settings.showPaused);
    ReadLevel(values, "Music/Volume", 0, 100, settings.volume);
    ReadBool(values, "Music/Mute", settings.muted);
    if (const auto found = values.find("Game/ComputerPlayer"); found != values.end()) {
        settings.computer = LevelNamed(found->second).value_or(ComputerLevel::kOff);
    }
    return settings;
}

SettingValues ValuesOfSettings(const Settings& settings) {
    SettingValues values{
        {"Display/Zoom", std::to_string(settings.zoom)},
        {"Display/FullScreen", Bool(settings.fullScreen)},
        {"Keys/RepeatDelay", Bool(settings.repeat.on)},
        {"Keys/RepeatDelayMs", std::to_string(settings.repeat.delayMs)},
        {"Keys/RepeatRateMs", std::to_string(settings.repeat.rateMs)},
        {"Gamepads/Swap", Bool(settings.swapPads)},
        {"Window/PauseOnFocusLoss", Bool(settings.pauseOnFocusLoss)},
        {"Window/ShowPaused", Bool(settings.showPaused)},
        {"Music/Volume", std::to_string(settings.volume)},
        {"Music/Mute", Bool(settings.muted)},
        {"Game/ComputerPlayer", std::string(LevelName(settings.computer))},
    };
    for (const KeySlot& slot : AllSlots()) {
        values[BindingKey(slot)] = std::to_string(settings.keys.At(slot));
    }
    return values;
}

int PadForSide(const Settings& settings, Side side) {
    const int first = side == kRightPlayer ? 1 : 0;
    return settings.swapPads ? 1 - first : first;
}

std::optional<Settings> AfterOptionsCommand(const Settings& settings, int id) {
    Settings changed = settings;
    if (id >= kCmdZoom1 && id <= kCmdZoom4) {
        changed.zoom = id - kCmdZoom1 + 1;
    } else if (id == kCmdFullScreen) {
        changed.fullScreen = !changed.fullScreen;
    } else if (id == kCmdPauseOnFocusLoss) {
        changed.pauseOnFocusLoss = !changed.pauseOnFocusLoss;
    } else if (id == kCmdShowPaused) {
        changed.showPaused = !changed.showPaused;
    } else if (id >= kCmdComputerOff && id <= kCmdComputerHard) {
        changed.computer = static_cast<ComputerLevel>(id - kCmdComputerOff);
    } else {
        return std::nullopt;
    }
    return changed;
}

int LargestFittingZoom(int clientWidth, int clientHeight, int decorationWidth, int decorationHeight,
                       int roomWidth, int roomHeight) {
    for (int zoom = kMaxZoom; zoom > kMinZoom; --zoom) {
        if (clientWidth * zoom + decorationWidth <= roomWidth &&
            clientHeight * zoom + decorationHeight <= roomHeight) {
            return zoom;
        }
    }
    return kMinZoom;
}

std::vector<MenuCheck> OptionsMenuChecks(const Settings& settings, int shownZoom) {
    std::vector<MenuCheck> checks;
    for (int zoom = kMinZoom; zoom <= kMaxZoom; ++zoom) {
        checks.push_back({kCmdZoom1 + zoom - 1, zoom == shownZoom});
    }
    checks.push_back({kCmdFullScreen, settings.fullScreen});
    checks.push_back({kCmdPauseOnFocusLoss, settings.pauseOnFocusLoss});
    checks.push_back({kCmdShowPaused, settings.showPaused});
    for (int id = kCmdComputerOff; id <= kCmdComputerHard; ++id) {
        checks.push_back({id, static_cast<int>(settings.computer) == id - kCmdComputerOff});
    }
    return checks;
}

}  // namespace blok
