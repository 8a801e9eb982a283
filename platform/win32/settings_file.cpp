#include "settings_file.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "settings_text.h"

namespace blok::win32 {

namespace {

bool IsUtf8(const std::string& text) {
    return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

// The file's values; nothing when it is there but is not a settings text.
std::optional<SettingValues> ReadValues(const std::filesystem::path& path, bool& present) {
    std::error_code error;
    present = std::filesystem::is_regular_file(path, error);
    if (!present) return SettingValues{};
    std::ifstream file(path, std::ios::binary);
    if (!file) return SettingValues{};  // unreadable: the defaults, and nothing set aside
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    if (!IsUtf8(text)) return std::nullopt;
    return ParseSettingsText(text);
}

}  // namespace

Settings LoadSettings(const std::filesystem::path& path, bool& damaged) {
    bool present = false;
    const std::optional<SettingValues> values = ReadValues(path, present);
    damaged = present && !values;
    return values ? SettingsFromValues(*values) : Settings{};
}

bool SaveSettings(const std::filesystem::path& path, const Settings& settings, bool damaged) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (damaged) {
        std::filesystem::path aside = path;
        aside += L".damaged";
        MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    bool present = false;
    SettingValues values = ReadValues(path, present).value_or(SettingValues{});
    for (const auto& [key, value] : ValuesOfSettings(settings)) values[key] = value;
    std::filesystem::path fresh = path;
    fresh += L".new";
    {
        std::ofstream file(fresh, std::ios::binary | std::ios::trunc);
        file << SettingsText(values);
        if (!file.flush()) return false;
    }
    return MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace blok::win32
