// The install paths on Windows: the folders of install_paths.h and the file system's naming
// rules. Only the known folders themselves are asked of the system (DataDirs::FromEnvironment in
// the Win32 layer).
#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "install_files.h"
#include "install_paths.h"
#include "setup_flow.h"
#include "utf8.h"

namespace blok::setup {

namespace {

namespace fs = std::filesystem;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// "\\server\share\...": the standard library takes the server for an ordinary folder name.
bool IsNetworkPath(std::string_view path) {
    return path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// Device names that the file system takes for the device in any folder, with any extension.
bool IsDeviceName(std::string_view name) {
    std::string base = Upper(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static constexpr std::array<std::string_view, 4> plain{"CON", "PRN", "AUX", "NUL"};
    if (std::find(plain.begin(), plain.end(), base) != plain.end()) return true;
    const bool numbered = base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT"));
    return numbered && base[3] >= '1' && base[3] <= '9';
}

// Why one folder name of the path cannot be used, or nothing.
std::optional<std::string> UnusableNameReason(std::string_view name) {
    if (name.find_first_of("<>:\"|?*") != std::string_view::npos) {
        return "the folder name \"" + std::string(name) +
               "\" contains one of the characters < > : \" | ? * that Windows does not allow";
    }
    if (IsDeviceName(name)) {
        return "\"" + std::string(name) + "\" is the name of a device on Windows";
    }
    // Windows drops them silently, so the folder would not be the one the links name.
    if (name != "." && name != ".." && (name.back() == '.' || name.back() == ' ')) {
        return "the folder name \"" + std::string(name) + "\" ends in a dot or a space";
    }
    return std::nullopt;
}

// The longest path below the target that the install writes, with room for the temporary name
// a file is written under first (".NAME.part-PID-N").
std::size_t LongestInstalledName() {
    constexpr std::size_t kTemporaryExtra = 24;
    std::size_t longest = std::string_view(kManifestName).size();
    for (const InstallFile& file : InstallFiles()) {
        longest = std::max(longest, file.subfolder.size() + 1 + file.name.size());
    }
    return longest + kTemporaryExtra;
}

}  // namespace

std::string ProposedInstallPath(const DataDirs& dirs) {
    return dirs.localAppData + "\\Programs\\Blokfall";
}

std::string MenuFolder(const DataDirs& dirs) {
    return dirs.programsMenu + "\\Blokfall";
}

std::optional<std::string> ChosenInstallPath(std::string_view typed) {
    if (!typed.empty() && IsSeparator(typed.back())) typed.remove_suffix(1);
    if (typed.empty()) return std::nullopt;
    return std::string(typed);
}

std::string AbsoluteInstallPath(const std::string& chosen, const DataDirs&,
                                const std::string& currentFolder) {
    const bool network = IsNetworkPath(chosen);
    fs::path path = PathFromUtf8(network ? chosen.substr(2) : chosen);
    // A path without a drive is taken from the current folder; "\Games" from its drive's root.
    if (!network && !path.has_root_name()) path = PathFromUtf8(currentFolder) / path;
    path = path.lexically_normal();
    if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
    return (network ? "\\\\" : "") + Utf8FromPath(path);
}

std::optional<std::string> UnusableInstallPathReason(std::string_view path) {
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    if (std::any_of(path.begin(), path.end(), control)) {
        return "its path contains a control character";
    }
    if (!IsValidUtf8(path)) return "its path is not valid UTF-8 text";
    const bool network = IsNetworkPath(path);
    const fs::path full = PathFromUtf8(network ? path.substr(2) : path);
    // "D:Games" is relative to a current folder of drive D: that a shortcut cannot rely on.
    if (!network && (!full.has_root_name() || !full.has_root_directory())) {
        return "its path does not start with a drive (such as C:\\) or a network share";
    }
    for (const fs::path& part : full.relative_path()) {
        if (auto reason = UnusableNameReason(Utf8FromPath(part))) return reason;
    }
    // The classic limit of 260 characters, terminator included, holds for every installed file.
    constexpr std::size_t kMaxPath = 260;
    if (path.size() + 1 + LongestInstalledName() + 1 > kMaxPath) {
        return "its path is too long for Windows";
    }
    return std::nullopt;
}

}  // namespace blok::setup
