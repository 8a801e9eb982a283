#pragma once

#include <QString>

#include "settings.h"

namespace blok::qt {

// The settings file: $XDG_CONFIG_HOME/Blokfall/Blokfall.conf (~/.config when unset).
QString DefaultSettingsPath();

// The settings stored at `path`; the defaults when the file is missing, unreadable or damaged.
Settings LoadSettings(const QString& path);
// Writes the settings, keeping whatever else the file holds. A damaged file is kept beside it
// as "<name>.damaged" and a fresh one written. Returns false when nothing could be written.
bool SaveSettings(const QString& path, const Settings& settings);

}  // namespace blok::qt
