#pragma once

#include <optional>
#include <string_view>

namespace blok {

// How well the computer plays; Off leaves both sides to people.
enum class ComputerLevel { kOff = 0, kEasy = 1, kNormal = 2, kHard = 3 };

inline constexpr ComputerLevel kPlayingLevels[] = {ComputerLevel::kEasy, ComputerLevel::kNormal,
                                                   ComputerLevel::kHard};

// "off", "easy", "normal", "hard": the names in settings, scripts and measurements.
std::string_view LevelName(ComputerLevel level);
std::optional<ComputerLevel> LevelNamed(std::string_view name);

}  // namespace blok
