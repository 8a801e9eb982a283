#pragma once

#include <filesystem>

#include "settings.h"

namespace blok::win32 {

// The settings stored at `path`; the defaults when the file is missing or unreadable, and also
// when it is there but damaged (then `damaged` is set).
Settings LoadSettings(const std::filesystem::path& path, bool& damaged);
// Writes the settings, keeping whatever else the file holds, through a fresh file that then
// replaces the old one; the folder is made when missing. A file found damaged is first kept
// beside it as "<name>.damaged". Returns false when nothing could be written.
bool SaveSettings(const std::filesystem::path& path, const Settings& settings, bool damaged);

}  // namespace blok::win32
