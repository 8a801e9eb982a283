#include "install_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "utf8.h"

namespace blok::setup {

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFromPasswordDatabase() {
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

}  // namespace

DataDirs DataDirs::FromEnvironment() {
    DataDirs dirs{EnvironmentValue("XDG_DATA_HOME"), EnvironmentValue("HOME")};
    if (dirs.home.empty()) dirs.home = HomeFromPasswordDatabase();
    return dirs;
}

std::string DataDirs::DataHome() const {
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/') return xdgDataHome;
    return home + "/.local/share";
}

std::string ProposedInstallPath(const DataDirs& dirs) {
    return dirs.DataHome() + "/Blokfall";
}

std::string MenuFolder(const DataDirs& dirs) {
    return dirs.DataHome() + "/applications/Blokfall";
}

std::optional<std::string> ChosenInstallPath(std::string_view typed) {
    if (!typed.empty() && typed.back() == '/') typed.remove_suffix(1);
    if (typed.empty()) return std::nullopt;
    return std::string(typed);
}

std::string AbsoluteInstallPath(const std::string& chosen, const DataDirs& dirs,
                                const std::string& currentFolder) {
    std::filesystem::path path = chosen;
    if (chosen == "~" || chosen.starts_with("~/")) path = dirs.home + chosen.substr(1);
    if (path.is_relative()) path = std::filesystem::path(currentFolder) / path;
    path = path.lexically_normal();
    if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
    return path.string();
}

std::optional<std::string> UnusableInstallPathReason(std::string_view path) {
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    if (path.find('%') != std::string_view::npos) {
        return "its path contains a '%', and desktop menus cannot start a program from there";
    }
    if (std::any_of(path.begin(), path.end(), control)) {
        return "its path contains a control character";
    }
    if (!IsValidUtf8(path)) return "its path is not valid UTF-8 text";
    return std::nullopt;
}

}  // namespace blok::setup
