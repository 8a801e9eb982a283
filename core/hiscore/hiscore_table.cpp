#include "hiscore_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace blok {

namespace {

std::size_t Index(int entry) { return static_cast<std::size_t>(entry); }

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U; }

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

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1FU;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0FU;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07U;
        } else {
            return false;
        }
        if (bytes.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            if (!IsContinuationByte(bytes[i + k])) return false;
            code = (code << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3FU);
        }
        const bool overlong = (extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000);
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        if (overlong || surrogate || code > 0x10FFFF) return false;
        i += extra + 1;
    }
    return true;
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
