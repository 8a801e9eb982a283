#pragma once

#include <QString>

#include "settings.h"

namespace blok::qt {

// The settings file: $XDG_CONFIG_HOME/Blokfall/Blokfall.conf (~/.config when unset).
QString DefaultSettingsPath();

// The settings stored at `path`; the defaults when the file is missing, unreadable or damaged
// (then `damaged` is set, when given).
Settings LoadSettings(const QString& path, bool* damaged = nullptr);
// Writes the settings, keeping whatever else the file holds. A file found damaged is first
// kept beside it as "<name>.damaged". Returns false when nothing could be written.
bool SaveSettings(const QString& path, const Settings& settings, bool setDamagedAside = false);

}  // namespace blok::qt
