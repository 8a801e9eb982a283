#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "desktop_entry.h"

// What an install asks of the desktop it installs on; each system answers with its own calls
// (system_setup_posix.cpp here, the Win32 layer's on Windows).
namespace blok::setup {

// The file of the menu entry called `name` in `menuFolder`: "<name>.desktop" on Linux,
// "<name>.lnk" (a shell link) on Windows.
std::filesystem::path MenuEntryFile(const std::filesystem::path& menuFolder, std::string_view name);

// Writes `entry` as the menu entry `file`.
std::error_code WriteMenuEntry(const MenuEntry& entry, const std::filesystem::path& file);

// Tells the system how to remove the installation in `installPath`, once it is complete; nothing
// to do where the installation is removed by hand.
std::error_code RegisterUninstall(const std::filesystem::path& installPath);

// Forgets what RegisterUninstall told the system, if it is about `installPath`.
void UnregisterUninstall(const std::filesystem::path& installPath);

// Where the completion message sends the user to start the game.
#ifdef _WIN32
inline constexpr const char* kMenuPlace =
    "the Start menu, where \"Blokfall\" and \"BlokfallHelp\" are listed in the folder Blokfall";
#else
inline constexpr const char* kMenuPlace =
    "the desktop's menu, where \"Blokfall\" and \"BlokfallHelp\" are listed among the games";
#endif

}  // namespace blok::setup
