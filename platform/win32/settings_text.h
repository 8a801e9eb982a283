#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings.h"

namespace blok::win32 {

// The settings file's text, the same on every system: "[Group]" lines, then "Name=value" lines;
// a value of the group "General" is stored without its group. Blank lines and lines that start
// with ';' or '#' are ignored.

// The values the text holds, or nothing when it is not such a text (a line of another kind,
// a zero byte, or more than a megabyte).
std::optional<SettingValues> ParseSettingsText(std::string_view text);
// The text for the values, group by group; names and values are written as they are.
std::string SettingsText(const SettingValues& values);

}  // namespace blok::win32
