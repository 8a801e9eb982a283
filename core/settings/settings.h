#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "computer_level.h"
#include "key_bindings.h"

namespace blok {

// The optional delayed auto-repeat of Left and Right. Off: a held key moves at every input
// tick, as the game always did.
struct RepeatTiming {
    bool on = false;
    int delayMs = 180;
    int rateMs = 60;
    friend bool operator==(const RepeatTiming&, const RepeatTiming&) = default;
};

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 4;
// The largest zoom at which a window with this client area, and `decoration` pixels of frame and
// menu around it, fits into `room`; the smallest zoom when none does.
int LargestFittingZoom(int clientWidth, int clientHeight, int decorationWidth, int decorationHeight,
                       int roomWidth, int roomHeight);
inline constexpr int kMinRepeatMs = 0;
inline constexpr int kMaxRepeatMs = 1000;

// What the player may change. The defaults are the game as it always was.
struct Settings {
    int zoom = 1;
    bool fullScreen = false;
    KeyBindings keys = DefaultKeyBindings();
    RepeatTiming repeat;
    bool swapPads = false;  // pad 2 plays the one-player game and the left side
    bool pauseOnFocusLoss = false;
    bool showPaused = false;
    int volume = 100;  // per cent of the music's normal loudness
    bool muted = false;
    // Who plays the right side of the two-player games: a person, or the computer at a level.
    ComputerLevel computer = ComputerLevel::kOff;
    friend bool operator==(const Settings&, const Settings&) = default;
};

// The stored form: "Group/Name" keys with text values, as the settings file holds them.
using SettingValues = std::map<std::string, std::string>;

// Reads what it knows; a missing or unreadable value keeps its default, and key bindings that
// leave a slot empty or use a key twice give the default keys.
Settings SettingsFromValues(const SettingValues& values);
SettingValues ValuesOfSettings(const Settings& settings);

// The pad that plays a side: the first connected pad plays the one-player game and the left
// side, the second the right side, unless they are swapped.
int PadForSide(const Settings& settings, Side side);

// The settings after an Options command that picks or toggles a value itself (a zoom, full
// screen, the two pause options, a computer level); nothing for any other command, such as those
// with a dialog.
std::optional<Settings> AfterOptionsCommand(const Settings& settings, int id);

// The Options items that carry a check mark, and whether each is checked; `shownZoom` is the zoom
// the window shows, which a small screen may hold below the chosen one.
struct MenuCheck {
    int id;
    bool checked;
};
std::vector<MenuCheck> OptionsMenuChecks(const Settings& settings, int shownZoom);

}  // namespace blok
