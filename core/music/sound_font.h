#pragma once

#include <bitset>
#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "midi_file.h"

namespace blok {

// The presets of a General MIDI sound font that songs can reach, by program number: melodic
// channels look in every bank but the drum bank (128), drum channels only in the drum bank.
struct PresetSelection {
    std::bitset<128> melodic;
    std::bitset<128> drumKits;

    static PresetSelection Everything();

    bool Wants(int bank, int program) const;
    bool Covers(const PresetSelection& other) const;
    void Add(const PresetSelection& other);
};

inline constexpr int kDrumBank = 128;

// What a song may select: the programs it chooses, and program 0 (piano, or the standard kit)
// for a channel that plays before choosing. A song with system exclusive messages may play drums
// on any channel, so its melodic programs count as drum kits too, and it keeps both program 0s.
PresetSelection PresetsSelectedBy(const ProgramChoices& programs);

// A SoundFont 2 file seen with a smaller preset table: only the selected presets and the
// instruments they play, in their original order, with every zone, generator and modulator as
// it was. Where the font lacks a selected program in bank 0 (or a selected kit), it also keeps
// program 0 of bank 0 (or the standard kit), which the synthesiser plays instead. Everything before
// the preset table (the description and all the samples) is the file's own and stays on disk until
// read, so a synthesiser that loads samples on demand still reads only those it plays.
class TrimmedSoundFont {
  public:
    // Empty when the file cannot be read or is not a sound font laid out as this reader expects
    // (description, samples, preset table, in that order, with consistent tables).
    static std::optional<TrimmedSoundFont> Make(const std::string& path,
                                                const PresetSelection& wanted);

    const std::string& path() const { return path_; }
    std::uint64_t size() const { return presetTableAt_ + presetTable_.size(); }
    std::size_t presetCount() const { return presetCount_; }

    // Copies the bytes at `offset` of the trimmed font into `out`, reading `file` (this font's
    // path, opened by the caller) where they are the file's own. False past the end or when the
    // file cannot be read.
    bool Read(std::uint64_t offset, std::span<std::uint8_t> out, std::ifstream& file) const;

  private:
    std::string path_;
    std::vector<std::uint8_t> riffHeader_;   // the first 12 bytes, with the trimmed size
    std::uint64_t presetTableAt_ = 0;        // same offset in the file and in the trimmed font
    std::vector<std::uint8_t> presetTable_;  // the trimmed "pdta" list, with its chunk header
    std::size_t presetCount_ = 0;
};

}  // namespace blok
