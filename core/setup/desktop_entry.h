#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace blok::setup {

// A menu entry that starts a program: what the desktop shows and what it runs, in which folder.
struct MenuEntry {
    std::string name;
    std::string comment;
    std::string icon;                  // a themed icon name or the path of a picture
    std::vector<std::string> command;  // program and arguments, unquoted
    std::string workingDirectory;
    std::string categories;  // the menu categories, each followed by ';'
};

// The game's icon, written beside the installed game; both entries show it.
inline constexpr std::string_view kIconFile = "Blokfall.png";

// The entry for the installed game: runs <installPath>/Blokfall in <installPath>.
MenuEntry GameEntry(std::string_view installPath);
// The entry for the help: the installed game's help viewer on <installPath>/Blokfall.hlp.
MenuEntry HelpEntry(std::string_view installPath);

// The text of a .desktop file for `entry`.
std::string DesktopEntryText(const MenuEntry& entry);

// One argument of an Exec line: in double quotes, with ", `, $ and \ escaped for the command
// line and then every backslash doubled for the file's string syntax; % doubled as it would
// otherwise start a field code.
std::string QuoteExecArgument(std::string_view argument);

}  // namespace blok::setup
