#include "settings_text.h"

#include <map>

namespace blok::win32 {

namespace {

constexpr std::size_t kMaxSettingsBytes = 1 << 20;
constexpr std::string_view kGeneralGroup = "General";

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// A value in double quotes stands for the text between them.
std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

std::optional<SettingValues> ParseSettingsText(std::string_view text) {
    if (text.size() > kMaxSettingsBytes || text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    SettingValues values;
    std::string group;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return std::nullopt;
            group = std::string(Trimmed(line.substr(1, line.size() - 2)));
            if (group == kGeneralGroup) group.clear();
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) return std::nullopt;
        const std::string name(Trimmed(line.substr(0, equals)));
        const std::string key = group.empty() ? name : group + "/" + name;
        values[key] = std::string(Unquoted(Trimmed(line.substr(equals + 1))));
    }
    return values;
}

std::string SettingsText(const SettingValues& values) {
    std::map<std::string, std::map<std::string, std::string>> groups;
    for (const auto& [key, value] : values) {
        const auto slash = key.find('/');
        if (slash == std::string::npos) {
            groups[std::string(kGeneralGroup)][key] = value;
        } else {
            groups[key.substr(0, slash)][key.substr(slash + 1)] = value;
        }
    }
    std::string text;
    for (const auto& [group, entries] : groups) {
        if (!text.empty()) text += '\n';
        text += "[" + group + "]\n";
        for (const auto& [name, value] : entries) text += name + "=" + value + "\n";
    }
    return text;
}

}  // namespace blok::win32
