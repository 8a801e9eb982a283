#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace blok {

// Channel 10 (9 counted from 0) plays drums: its program numbers choose drum kits.
inline constexpr unsigned kDrumChannel = 9;

// The program numbers a song chooses.
struct ProgramChoices {
    std::bitset<128> melodic;
    std::bitset<128> drumKits;
    // Bit n set: channel n (0-based) plays a note that no program change before it in its own
    // track precedes; it may sound with program 0 (on the drum channel, kit 0).
    std::uint32_t channelsPlayingDefault = 0;
    // System exclusive messages can turn any channel into a drum channel.
    bool hasSystemExclusive = false;

    void Add(const ProgramChoices& other) {
        melodic |= other.melodic;
        drumKits |= other.drumKits;
        channelsPlayingDefault |= other.channelsPlayingDefault;
        hasSystemExclusive |= other.hasSystemExclusive;
    }
};

struct TempoChange {
    std::uint64_t tick = 0;
    std::uint32_t microsPerQuarter = 500000;
};

// A standard MIDI file that has passed validation, with what timing needs. Positions and
// lengths in milliseconds are derived from its ticks through the tempo map.
struct MidiSong {
    std::vector<std::uint8_t> bytes;  // the file as read, for the synthesiser
    std::uint16_t format = 0;
    std::uint16_t tracks = 0;
    std::uint16_t ticksPerQuarter = 0;
    std::vector<TempoChange> tempoMap;    // sorted by tick, the first one at tick 0
    std::uint64_t endTick = 0;            // where the longest track ends
    std::uint32_t channelsWithNotes = 0;  // bit n set: channel n (0-based) plays notes
    std::uint32_t hangingNotes = 0;       // note-ons that no note-off in their track ends
    ProgramChoices programs;

    std::uint32_t MillisecondsAt(std::uint64_t tick) const;
    // The first tick at or after the given time; never beyond endTick.
    std::uint64_t TickAt(std::uint32_t milliseconds) const;
    std::uint32_t LengthMilliseconds() const { return MillisecondsAt(endTick); }
};

// Files larger than this are refused unread: no song of ours comes anywhere near it.
inline constexpr std::uintmax_t kMaxMidiFileBytes = 8u << 20;
// Ticks beyond this cannot be addressed by the synthesiser's player.
inline constexpr std::uint64_t kMaxMidiTick = 0x7FFFFFFF;

// Validates a format 0 or 1 file with a metrical time base. Returns 0, or MCIERR_INVALID_FILE
// for anything truncated, inconsistent or unplayable; `song` is only filled on success.
std::uint32_t ParseMidi(std::vector<std::uint8_t> bytes, MidiSong& song);

// Reads and validates a file: MCIERR_FILE_NOT_FOUND, MCIERR_FILE_READ or MCIERR_INVALID_FILE.
std::uint32_t LoadMidiFile(const std::string& path, MidiSong& song);

}  // namespace blok
