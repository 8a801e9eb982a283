#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace blok::setup {

// The installer's texts are UTF-8 on every system; on Windows the standard library would take a
// path's narrow text in the system's code page instead.
inline std::filesystem::path PathFromUtf8(std::string_view text) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
    return std::filesystem::path(text);
#endif
}
inline std::string Utf8FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

// Where the user's per-user data lives: $XDG_DATA_HOME, or ~/.local/share when it is unset; on
// Windows the user's local application data and Start-menu folders.
struct DataDirs {
    std::string xdgDataHome;     // as found in the environment; may be empty
    std::string home;            // the user's home directory; may be empty
    std::string localAppData{};  // Windows: where per-user programs go (%LOCALAPPDATA%)
    std::string programsMenu{};  // Windows: the user's Start-menu "Programs" folder

    // Reads $XDG_DATA_HOME and $HOME (falling back to the password database for the home); on
    // Windows the user's known folders.
    static DataDirs FromEnvironment();

    // The base directory: $XDG_DATA_HOME when it is an absolute path, otherwise
    // home + "/.local/share" (relative values are ignored, as desktop menus ignore them).
    std::string DataHome() const;
};

// The folder the path dialog proposes: <data home>/Blokfall (on Windows
// <local application data>\Programs\Blokfall, where no administrator rights are needed).
std::string ProposedInstallPath(const DataDirs& dirs);

// The folder that holds the game's menu entries: <data home>/applications/Blokfall (on Windows
// <Start-menu programs>\Blokfall).
std::string MenuFolder(const DataDirs& dirs);

// Turns the text of the path dialog into the install directory: one trailing "/" (on Windows
// also "\") is dropped; nothing left means the user gave no directory, and the installation is
// cancelled.
std::optional<std::string> ChosenInstallPath(std::string_view typed);

// The directory the files go to for a chosen path: a leading "~" stands for the home folder,
// and a relative path is taken from `currentFolder`, since menu entries need absolute paths.
// On Windows "~" has no meaning, and a path from the root ("\Games") stays on the current drive.
std::string AbsoluteInstallPath(const std::string& chosen, const DataDirs& dirs,
                                const std::string& currentFolder);

// Why the game cannot work from this folder, or nothing when it can: desktop menus will not start
// a program whose path holds a '%', and paths must be UTF-8 text without control characters.
// On Windows: a full path of names the file system takes as they are, short enough for every
// file to stay within the classic path limit.
std::optional<std::string> UnusableInstallPathReason(std::string_view path);

}  // namespace blok::setup
