#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "utf8.h"

namespace blok {

inline constexpr int kHiscoreEntries = 10;
inline constexpr std::size_t kNameFieldSize = 30;
// The name dialog keeps this many bytes of UTF-8; a character is never cut in two.
inline constexpr std::size_t kTypedNameMaxBytes = 27;
// The table dialog's line buffer: "10. " + 29 name bytes + terminator fits with room to spare.
inline constexpr std::size_t kRowBufferSize = 40;
inline constexpr int kMusicWords = 19;
// Where a score that does not enter would be placed.
inline constexpr int kNoPlace = kHiscoreEntries;

// A name as stored: its bytes, a zero terminator, then whatever the field held before.
using NameField = std::array<char, kNameFieldSize>;
using MusicWords = std::array<std::int32_t, kMusicWords>;

// Everything hiscore.dat carries. Entry 0 is the best. A loaded table always has a zero byte in
// every name field; a garbage file need not be sorted, so code must not assume it is.
struct HiscoreTable {
    std::array<std::uint32_t, kHiscoreEntries> Hiscore{};
    std::array<NameField, kHiscoreEntries> Hiname{};
    // Two words of no meaning to us, kept so that a file comes back out as it went in.
    std::int32_t reservedA = 0;
    std::int32_t reservedB = 0;
    // The playlist's record of songs played in the current cycle.
    MusicWords stillPlayed{};
};

// The rank (0..9) a score takes, below every equal score, or kNoPlace when it stays out.
// A score of 0 never enters.
int HiscorePlace(const HiscoreTable& table, std::uint32_t score);

// Moves the entries from `place` on one down (the last one drops out) and puts the name and the
// score at `place`. Names move as text: the bytes after a terminator stay in the field.
void EnterHiscore(HiscoreTable& table, int place, const NameField& NAME, std::uint32_t score);

// Copies the text of `from` up to and including its terminator; the rest of `to` is kept.
void CopyNameText(const NameField& from, NameField& to);

// Puts a name typed in the dialog (UTF-8) into NAME: at most kTypedNameMaxBytes bytes, cut at a
// character boundary and before any zero byte, then a terminator; byte 29 is always 0.
void ReadTypedName(std::string_view typed, NameField& NAME);

// Gives an unterminated field (one written by another program) a terminator in its last byte,
// so its text is its first 29 bytes.
void TerminateName(NameField& name);

// The text of a name field up to its first zero byte (all 30 bytes if there is none).
std::string_view NameText(const NameField& name);

// The row texts of the table dialog as bytes: "%d. %s" with rank and name (formatted in a
// kRowBufferSize-byte line, which no name can overrun), and "%lu" with the points.
std::string HiscoreRowText(const HiscoreTable& table, int entry);
std::string HiscorePointsText(const HiscoreTable& table, int entry);

// Names are stored as UTF-8. Text that is not valid UTF-8 (a file from an older machine) is taken
// as Latin-1, so anything in the file can be shown.
std::string DisplayUtf8(std::string_view bytes);

}  // namespace blok
