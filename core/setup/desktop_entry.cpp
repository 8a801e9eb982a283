#include "desktop_entry.h"

#include <filesystem>

#include "install_files.h"

namespace blok::setup {

namespace {

// Escapes for a string value of the file: backslash and control characters.
std::string EscapeValue(std::string_view value) {
    std::string out;
    for (char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string InstalledFile(std::string_view installPath, std::string_view name) {
    std::string path(installPath);
    path += static_cast<char>(std::filesystem::path::preferred_separator);
    path += name;
    return path;
}

// Both entries stand together in the games menu, as the game's own group.
constexpr const char* kCategories = "Game;BlocksGame;";

}  // namespace

MenuEntry GameEntry(std::string_view installPath) {
    return {"Blokfall",
            "Blokfall",
            InstalledFile(installPath, kIconFile),
            {InstalledFile(installPath, kGameProgram)},
            std::string(installPath),
            kCategories};
}

MenuEntry HelpEntry(std::string_view installPath) {
    return {"BlokfallHelp",
            "BlokfallHelp",
            InstalledFile(installPath, kIconFile),
            {InstalledFile(installPath, kGameProgram), "--help-viewer",
             InstalledFile(installPath, kHelpFile)},
            std::string(installPath),
            kCategories};
}

std::string QuoteExecArgument(std::string_view argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return EscapeValue(quoted);
}

std::string DesktopEntryText(const MenuEntry& entry) {
    std::string exec;
    for (const std::string& argument : entry.command) {
        if (!exec.empty()) exec += ' ';
        // Plain words such as options read better unquoted.
        const bool plain =
            argument.find_first_not_of(
                "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_") ==
            std::string::npos;
        exec += plain && !argument.empty() ? argument : QuoteExecArgument(argument);
    }
    std::string text = "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Version=1.0\n";
    text += "Name=" + EscapeValue(entry.name) + "\n";
    text += "Comment=" + EscapeValue(entry.comment) + "\n";
    if (!entry.icon.empty()) text += "Icon=" + EscapeValue(entry.icon) + "\n";
    text += "Exec=" + exec + "\n";
    text += "Path=" + EscapeValue(entry.workingDirectory) + "\n";
    text += "Terminal=false\n";
    if (!entry.categories.empty()) text += "Categories=" + EscapeValue(entry.categories) + "\n";
    return text;
}

}  // namespace blok::setup
