#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "midi_file.h"

namespace blok {

// One song opened on a sequencer. Destroying it closes it: the sound stops and everything it
// holds is released. Times are milliseconds from the start of the song.
class MciSong {
  public:
    virtual ~MciSong() = default;
    // Starts playing at `fromMs` (at most the song's length) and returns at once.
    virtual std::uint32_t Play(std::uint32_t fromMs) = 0;
    // Halts the song where it is; a later Play decides where it goes on.
    virtual std::uint32_t Stop() = 0;
    // Where the song is now. At its end this may run past the length.
    virtual std::uint32_t Position(std::uint32_t& ms) = 0;
};

// The sequencer behind the command layer: turns a validated MIDI file into a playable song.
class MciDevice {
  public:
    virtual ~MciDevice() = default;
    virtual std::uint32_t Open(std::shared_ptr<const MidiSong> song,
                               std::unique_ptr<MciSong>& opened) = 0;
    // The same for a sequencer that plays the file itself; `song` holds its checked contents.
    virtual std::uint32_t OpenFile(const std::string& /*element*/,
                                   std::shared_ptr<const MidiSong> song,
                                   std::unique_ptr<MciSong>& opened) {
        return Open(std::move(song), opened);
    }
};

enum class MciStatusItem : std::uint32_t { Length = 1, Position = 2 };

inline constexpr std::string_view kSequencerDeviceType = "sequencer";

// The command layer: devices opened by type and file name, addressed by a device id, each
// command answering 0 or an MCI error number. Time format: milliseconds.
class Mci {
  public:
    explicit Mci(std::unique_ptr<MciDevice> sequencer);
    ~Mci();
    Mci(const Mci&) = delete;
    Mci& operator=(const Mci&) = delete;

    // Opens `element` on a device of `deviceType` ("sequencer") and gives its id (never 0).
    std::uint32_t Open(std::string_view deviceType, const std::string& element,
                       std::uint32_t& deviceId);
    std::uint32_t Close(std::uint32_t deviceId);
    // Plays from `from` to the end; `from` beyond the length is out of range.
    std::uint32_t Play(std::uint32_t deviceId, std::uint32_t from);
    std::uint32_t Stop(std::uint32_t deviceId);
    // Length, or the position, which never reads beyond the length.
    std::uint32_t Status(std::uint32_t deviceId, MciStatusItem item, std::uint32_t& value);

  private:
    struct OpenDevice {
        std::shared_ptr<const MidiSong> song;
        std::uint32_t lengthMs = 0;
        std::unique_ptr<MciSong> playback;
    };

    OpenDevice* Find(std::uint32_t deviceId);
    std::uint32_t NextFreeId();

    std::unique_ptr<MciDevice> sequencer_;
    std::map<std::uint32_t, OpenDevice> devices_;  // destroyed before the sequencer
    std::uint32_t lastId_ = 0;
};

}  // namespace blok
