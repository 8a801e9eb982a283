#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "settings.h"

namespace blok::win32 {

class Win32Platform;

// The settings file: %APPDATA%\Blokfall\Blokfall.conf.
std::filesystem::path DefaultSettingsPath();

// The "&Options" popup: reads the settings file at start, applies the settings to the window,
// the game and the music, runs the option commands and their dialogs, and writes the file only
// when the player has changed something.
class Win32Options {
  public:
    struct Hooks {
        std::function<void(const Settings&)> applyToGame;
        std::function<void(int volume, bool muted)> applyVolume;
        // The names of the connected gamepads, empty for a pad that is not there.
        std::function<std::array<std::string, kPads>()> padNames;
    };

    Win32Options(Win32Platform& platform, std::filesystem::path path, Hooks hooks);

    // Reads the file and applies what it holds; call once the main window exists.
    void Start();
    void OnCommand(int id);
    const Settings& Current() const { return settings_; }

  private:
    void Change(const Settings& changed);
    void Apply();
    bool RunControlsDialog(Settings& settings);
    bool RunVolumeDialog(Settings& settings);

    Win32Platform& platform_;
    std::filesystem::path path_;
    Hooks hooks_;
    Settings settings_;
    bool damaged_ = false;  // the file could not be read: it is set aside at the first change
};

}  // namespace blok::win32
