#pragma once

#include <array>
#include <string_view>

namespace blok::setup {

// One file of the distribution: its name (the same in the distribution folder and in the
// target), the subfolder of the target it goes to (empty: the target itself), and the progress
// position shown once it is installed. The positions follow the files' sizes in kilobytes.
struct InstallFile {
    std::string_view name;
    std::string_view subfolder;
    int position = 0;
};

inline constexpr int kProgressRange = 1405;
inline constexpr std::string_view kMusicFolder = "music";
#ifdef _WIN32
inline constexpr std::string_view kGameProgram = "Blokfall.exe";
// The installer leaves a copy of itself in the target, where the uninstall command runs it.
inline constexpr std::string_view kUninstallerFile = "blokinst.exe";
#else
inline constexpr std::string_view kGameProgram = "Blokfall";
inline constexpr std::string_view kUninstallerFile = "";  // the package or the user removes it
#endif
inline constexpr std::string_view kHelpFile = "Blokfall.hlp";

// Everything the installer copies, in the order it copies it.
const std::array<InstallFile, 23>& InstallFiles();

}  // namespace blok::setup
