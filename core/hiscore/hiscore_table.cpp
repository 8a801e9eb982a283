#include "hiscore_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace blok {

namespace {

std::size_t Index(int entry) {
    return static_cast<std::size_t>(entry);
}

}  // namespace

int HiscorePlace(const HiscoreTable& table, std::uint32_t score) {
    int place = kHiscoreEntries;
    while (place > 0 && table.Hiscore[Index(place - 1)] < score) --place;
    return place;
}

void CopyNameText(const NameField& from, NameField& to) {
    const std::string_view text = NameText(from);
    std::copy(text.begin(), text.end(), to.begin());
    if (text.size() < to.size()) to[text.size()] = '\0';
}

void EnterHiscore(HiscoreTable& table, int place, const NameField& NAME, std::uint32_t score) {
    if (place < 0 || place >= kHiscoreEntries) return;
    for (int j = kHiscoreEntries - 1; j > place; --j) {
        CopyNameText(table.Hiname[Index(j - 1)], table.Hiname[Index(j)]);
        table.Hiscore[Index(j)] = table.Hiscore[Index(j - 1)];
    }
    CopyNameText(NAME, table.Hiname[Index(place)]);
    table.Hiscore[Index(place)] = score;
}

void ReadTypedName(std::string_view typed, NameField& NAME) {
    std::size_t length = std::min({typed.find('\0'), typed.size(), kTypedNameMaxBytes});
    // Never keep the first bytes of a character whose last bytes were cut off.
    if (length < typed.size()) {
        while (length > 0 && IsContinuationByte(typed[length])) --length;
    }
    std::copy_n(typed.begin(), length, NAME.begin());
    NAME[length] = '\0';
    NAME[kNameFieldSize - 1] = '\0';
}

void TerminateName(NameField& name) {
    if (std::find(name.begin(), name.end(), '\0') == name.end()) name[kNameFieldSize - 1] = '\0';
}

std::string_view NameText(const NameField& name) {
    const auto end = std::find(name.begin(), name.end(), '\0');
    return {name.data(), static_cast<std::size_t>(end - name.begin())};
}

std::string HiscoreRowText(const HiscoreTable& table, int entry) {
    char line[kRowBufferSize];
    const std::string_view name = NameText(table.Hiname[Index(entry)]);
    // The precision bounds the read even for a field without a terminator; snprintf bounds the
    // write to the line.
    const int written = std::snprintf(line, sizeof line, "%d. %.*s", entry + 1,
                                      static_cast<int>(name.size()), name.data());
    if (written < 0) return {};
    return {line, std::min(static_cast<std::size_t>(written), sizeof line - 1)};
}

std::string HiscorePointsText(const HiscoreTable& table, int entry) {
    return std::to_string(table.Hiscore[Index(entry)]);
}

std::string DisplayUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0U | (byte >> 6));
            text += static_cast<char>(0x80U | (byte & 0x3FU));
        }
    }
    return text;
}

}  // namespace blok
