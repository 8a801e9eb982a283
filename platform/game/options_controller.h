#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "settings.h"

namespace blok::qt {

class QtPlatform;

// The "&Options" popup: reads the settings file at start, applies the settings to the window,
// the game and the music, runs the option commands and writes the file only when the player
// has changed something.
class OptionsController {
  public:
    struct Hooks {
        std::function<void(const Settings&)> applyToGame;
        std::function<void(int volume, bool muted)> applyVolume;
        std::function<QStringList()> padNames;
    };

    OptionsController(QtPlatform& platform, QString path, Hooks hooks);

    // Reads the file and applies what it holds; call once the main window exists.
    void Start();
    void OnCommand(int id);
    const Settings& Current() const { return settings_; }

  private:
    void Change(const Settings& changed);
    void Apply();

    QtPlatform& platform_;
    QString path_;
    Hooks hooks_;
    Settings settings_;
    bool damaged_ = false;  // the file could not be read: it is set aside at the first change
};

}  // namespace blok::qt
