#include "midi_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

#include "mci_error.h"

namespace blok {
namespace {

// A bounds-checked cursor: every read either succeeds inside [pos, end) or fails. Bytes come
// back as values (never through a reference, which the compiler would have to assume may
// change the cursor itself): a long song is read on the window's thread and must be quick.
class Reader {
  public:
    Reader(const std::uint8_t* begin, const std::uint8_t* end) : pos_(begin), end_(end) {}

    std::size_t Remaining() const { return static_cast<std::size_t>(end_ - pos_); }
    const std::uint8_t* Position() const { return pos_; }

    // The next byte, or -1 at the end.
    int Byte() { return pos_ < end_ ? *pos_++ : -1; }
    int Peek() const { return pos_ < end_ ? *pos_ : -1; }
    bool U16(std::uint16_t& value) {
        const int hi = Byte();
        const int lo = Byte();
        if (lo < 0) return false;
        value = static_cast<std::uint16_t>((hi << 8) | lo);
        return true;
    }
    bool U32(std::uint32_t& value) {
        std::uint32_t read = 0;
        for (int i = 0; i < 4; ++i) {
            const int b = Byte();
            if (b < 0) return false;
            read = (read << 8) | static_cast<std::uint32_t>(b);
        }
        value = read;
        return true;
    }
    // A variable-length quantity: at most four bytes, seven bits each; -1 when malformed.
    std::int64_t VarLen() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const int b = Byte();
            if (b < 0) return -1;
            value = (value << 7) | (static_cast<std::uint32_t>(b) & 0x7Fu);
            if ((b & 0x80) == 0) return value;
        }
        return -1;
    }
    bool Tag(const char (&tag)[5]) {
        if (Remaining() < 4 || std::memcmp(pos_, tag, 4) != 0) return false;
        pos_ += 4;
        return true;
    }
    bool Skip(std::size_t count) {
        if (count > Remaining()) return false;
        pos_ += count;
        return true;
    }

  private:
    const std::uint8_t* pos_;
    const std::uint8_t* end_;
};

struct TrackResult {
    std::uint64_t endTick = 0;
    std::uint32_t channelsWithNotes = 0;
    std::uint32_t hangingNotes = 0;
    ProgramChoices programs;
    std::uint32_t channelsChosen = 0;  // bit n: channel n has had a program change in this track
};

// Counts sounding notes per channel and key so that stuck notes can be found.
class NoteBalance {
  public:
    void On(unsigned channel, unsigned key) { ++count_[channel][key]; }
    void Off(unsigned channel, unsigned key) {
        if (count_[channel][key] > 0) --count_[channel][key];
    }
    std::uint32_t Sounding() const {
        std::uint32_t total = 0;
        for (const auto& keys : count_)
            for (std::uint32_t c : keys) total += c;
        return total;
    }

  private:
    std::array<std::array<std::uint32_t, 128>, 16> count_{};
};

bool ReadChannelMessage(Reader& in, std::uint8_t status, TrackResult& result, NoteBalance& notes) {
    const unsigned kind = status & 0xF0u;
    const unsigned channel = status & 0x0Fu;
    const int first = in.Byte();
    if (first < 0 || first >= 0x80) return false;
    if (kind == 0xC0u) {
        auto& chosen = channel == kDrumChannel ? result.programs.drumKits : result.programs.melodic;
        chosen.set(static_cast<std::size_t>(first));
        result.channelsChosen |= 1u << channel;
        return true;
    }
    if (kind == 0xD0u) return true;  // one data byte
    const int second = in.Byte();
    if (second < 0 || second >= 0x80) return false;
    const auto key = static_cast<unsigned>(first);
    if (kind == 0x90u && second > 0) {
        notes.On(channel, key);
        result.channelsWithNotes |= 1u << channel;
        // The order of events in different tracks depends on how the player steps through
        // them, so only a choice earlier in the same track counts.
        result.programs.channelsPlayingDefault |= (1u << channel) & ~result.channelsChosen;
    } else if (kind == 0x80u || kind == 0x90u) {
        notes.Off(channel, key);
    }
    return true;
}

// Returns false on a malformed meta event; sets `ended` at the end-of-track event.
bool ReadMetaEvent(Reader& in, std::uint64_t tick, std::vector<TempoChange>& tempos, bool& ended) {
    const int type = in.Byte();
    const std::int64_t length = type < 0 ? -1 : in.VarLen();
    if (length < 0 || static_cast<std::uint64_t>(length) > in.Remaining()) return false;
    if (type == 0x2F) {
        ended = true;
        return in.Skip(static_cast<std::size_t>(length));
    }
    if (type != 0x51) return in.Skip(static_cast<std::size_t>(length));
    if (length != 3) return false;
    const auto a = static_cast<std::uint32_t>(in.Byte());
    const auto b = static_cast<std::uint32_t>(in.Byte());
    const auto c = static_cast<std::uint32_t>(in.Byte());
    const std::uint32_t micros = (a << 16) | (b << 8) | c;
    if (micros == 0) return false;  // a beat of no duration cannot be played
    tempos.push_back({tick, micros});
    return true;
}

bool ReadTrack(Reader& in, std::vector<TempoChange>& tempos, TrackResult& result) {
    std::uint64_t tick = 0;
    std::uint8_t runningStatus = 0;
    NoteBalance notes;
    bool ended = false;
    while (!ended && in.Remaining() > 0) {
        const std::int64_t delta = in.VarLen();
        if (delta < 0) return false;
        tick += static_cast<std::uint64_t>(delta);
        if (tick > kMaxMidiTick) return false;
        int status = in.Peek();
        if (status < 0) return false;
        if (status < 0x80) {
            if (runningStatus == 0) return false;  // data without any status before it
            status = runningStatus;
        } else {
            in.Skip(1);
        }
        bool ok = true;
        if (status < 0xF0) {
            runningStatus = static_cast<std::uint8_t>(status);
            ok = ReadChannelMessage(in, runningStatus, result, notes);
        } else if (status == 0xF0 || status == 0xF7) {
            runningStatus = 0;
            result.programs.hasSystemExclusive = true;
            const std::int64_t length = in.VarLen();
            ok = length >= 0 && in.Skip(static_cast<std::size_t>(length));
        } else if (status == 0xFF) {
            runningStatus = 0;
            ok = ReadMetaEvent(in, tick, tempos, ended);
        } else {
            ok = false;  // real-time and system-common bytes do not belong in a file
        }
        if (!ok) return false;
    }
    result.endTick = tick;
    result.hangingNotes = notes.Sounding();
    return true;
}

std::uint32_t Invalid() {
    return MCIERR_INVALID_FILE;
}

}  // namespace

std::uint32_t ParseMidi(std::vector<std::uint8_t> bytes, MidiSong& song) {
    MidiSong parsed;
    Reader in(bytes.data(), bytes.data() + bytes.size());
    std::uint32_t headerLength = 0;
    if (!in.Tag("MThd") || !in.U32(headerLength) || headerLength < 6 ||
        headerLength > in.Remaining())
        return Invalid();
    const std::uint8_t* headerEnd = in.Position() + headerLength;
    std::uint16_t division = 0;
    in.U16(parsed.format);
    in.U16(parsed.tracks);
    in.U16(division);
    in.Skip(static_cast<std::size_t>(headerEnd - in.Position()));
    // Format 2 (independent sequences) and time-code time bases are not played.
    if (parsed.format > 1 || parsed.tracks == 0 || division == 0 || (division & 0x8000u) != 0)
        return Invalid();
    parsed.ticksPerQuarter = division;

    std::vector<TempoChange> tempos;
    int tracksRead = 0;
    while (tracksRead < parsed.tracks && in.Remaining() > 0) {
        const bool isTrack = in.Tag("MTrk");
        if (!isTrack && !in.Skip(4)) return Invalid();
        std::uint32_t length = 0;
        if (!in.U32(length) || length > in.Remaining()) return Invalid();
        if (!isTrack) {
            in.Skip(length);
            continue;
        }
        Reader track(in.Position(), in.Position() + length);
        TrackResult result;
        if (!ReadTrack(track, tempos, result)) return Invalid();
        parsed.endTick = std::max(parsed.endTick, result.endTick);
        parsed.channelsWithNotes |= result.channelsWithNotes;
        parsed.hangingNotes += result.hangingNotes;
        parsed.programs.Add(result.programs);
        in.Skip(length);
        ++tracksRead;
    }
    if (tracksRead < parsed.tracks) return Invalid();

    // Tempo changes may sit in any track; they apply in time order.
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    if (tempos.empty() || tempos.front().tick != 0) parsed.tempoMap.push_back(TempoChange{});
    parsed.tempoMap.insert(parsed.tempoMap.end(), tempos.begin(), tempos.end());

    parsed.bytes = std::move(bytes);
    song = std::move(parsed);
    return 0;
}

std::uint32_t LoadMidiFile(const std::string& path, MidiSong& song) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return MCIERR_FILE_NOT_FOUND;
    if (!fs::is_regular_file(status)) return MCIERR_INVALID_FILE;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return MCIERR_FILE_READ;
    if (size > kMaxMidiFileBytes) return MCIERR_INVALID_FILE;

    std::ifstream file(path, std::ios::binary);
    if (!file) return MCIERR_FILE_READ;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (file.gcount() != static_cast<std::streamsize>(bytes.size())) return MCIERR_FILE_READ;
    return ParseMidi(std::move(bytes), song);
}

// Microseconds are summed segment by segment. Ticks never exceed 2^31 and a tempo never
// exceeds 2^24, so no product or sum leaves 64 bits.
std::uint32_t MidiSong::MillisecondsAt(std::uint64_t tick) const {
    std::uint64_t micros = 0;
    for (std::size_t i = 0; i < tempoMap.size() && tempoMap[i].tick < tick; ++i) {
        const std::uint64_t segmentEnd =
            i + 1 < tempoMap.size() ? std::min(tempoMap[i + 1].tick, tick) : tick;
        micros += (segmentEnd - tempoMap[i].tick) * tempoMap[i].microsPerQuarter / ticksPerQuarter;
    }
    const std::uint64_t ms = micros / 1000;
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(ms, std::numeric_limits<std::uint32_t>::max()));
}

std::uint64_t MidiSong::TickAt(std::uint32_t milliseconds) const {
    const std::uint64_t target = std::uint64_t{milliseconds} * 1000;
    std::uint64_t micros = 0;
    for (std::size_t i = 0; i < tempoMap.size(); ++i) {
        const TempoChange& segment = tempoMap[i];
        const bool last = i + 1 == tempoMap.size();
        const std::uint64_t segmentTicks = last ? 0 : tempoMap[i + 1].tick - segment.tick;
        const std::uint64_t segmentMicros =
            segmentTicks * segment.microsPerQuarter / ticksPerQuarter;
        if (last || micros + segmentMicros > target) {
            const std::uint64_t into = target - micros;
            const std::uint64_t ticks =
                (into * ticksPerQuarter + segment.microsPerQuarter - 1) / segment.microsPerQuarter;
            return std::min(segment.tick + ticks, endTick);
        }
        micros += segmentMicros;
    }
    return 0;
}

}  // namespace blok
