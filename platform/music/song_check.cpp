// Plays each MIDI file given on the command line through the game's music layer into memory
// and prints what the device reports against what was rendered:
//   blokfall-song-check [--wav DIR] FILE...
// Exit status 1 when a file cannot be opened or renders silent.
//   blokfall-song-check --time-open FILE...
// opens and closes the files in turn, five times over, on the real sequencer (with audio
// output) and prints each result and how long each open took; --time-open-offline does the
// same without audio output. The first open pays for the synthesiser and the sound font; a
// song that needs presets the one before it did not loads the font again.
//   blokfall-song-check --time-load FILE
// opens and plays the file on the real sequencer and, while the synthesiser reads it, asks for
// the position every 5 ms as the music poll does; prints how long the open, the start, the
// slowest of those questions, the stop and the close took; then opens and starts it again and
// stops and closes it while the synthesiser is still reading it.
//   blokfall-song-check --write-long-song FILE
// writes a test song of 8 MB with a million notes, for --time-load.
//   blokfall-song-check --compare-fonts FILE...
// renders each file whole twice, once as the game does (only the presets the song can select
// loaded, the game's polyphony) and once with the whole sound font and the synthesiser's
// default polyphony, and prints whether the two are the same sample for sample. Exit status 1
// when any differs.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "fluidsynth_sequencer.h"
#include "mci.h"
#include "mci_error.h"
#include "mci_midi.h"

namespace {

struct Loudness {
    double sumSquares = 0;
    double peak = 0;
    std::uint64_t samples = 0;
    std::uint64_t clipped = 0;

    void Add(float sample) {
        sumSquares += double{sample} * sample;
        peak = std::max(peak, double{std::fabs(sample)});
        if (std::fabs(sample) >= 1.0f) ++clipped;
        ++samples;
    }
    double RmsDb() const {
        return 10.0 *
               std::log10(sumSquares / static_cast<double>(std::max<std::uint64_t>(samples, 1)) +
                          1e-20);
    }
};

void WriteWav(const std::filesystem::path& path, const std::vector<float>& interleaved, int rate) {
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const auto bytes = static_cast<std::uint32_t>(interleaved.size() * 2);
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(2);
    u32(static_cast<std::uint32_t>(rate));
    u32(static_cast<std::uint32_t>(rate) * 4);
    u16(4);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    for (float sample : interleaved) {
        const auto value =
            static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
        out.write(reinterpret_cast<const char*>(&value), 2);
    }
}

// One song played from the start on its own offline synthesiser, rendered block by block.
class OfflineSong {
  public:
    static constexpr std::size_t kBlock = 512;

    OfflineSong(const std::string& file, blok::fluid::FluidSynthOptions options = {}) {
        auto device = std::make_unique<blok::fluid::OfflineFluidSynthSequencer>(options);
        renderer_ = device.get();
        mci_ = std::make_unique<blok::Mci>(std::move(device));
        song_ = std::make_unique<blok::MciMidi>(*mci_, file.c_str());
        song_->Play();
    }
    // Empty when the song cannot play.
    const char* Error() const { return song_->dwError == 0 ? nullptr : song_->GetErrorString(); }
    std::uint32_t LengthMs() const { return song_->dwLength; }
    int Rate() const { return static_cast<int>(renderer_->sampleRate()); }
    int LoadedPresets() const { return renderer_->LoadedPresets(); }

    // The next block, until the device reports the song done; never more than 10 minutes.
    bool Next() {
        std::uint32_t done = 0;
        if (song_->IsDone(&done) != 0 || done != 0 ||
            frames_ >= 600u * static_cast<std::uint64_t>(Rate()))
            return false;
        renderer_->Render(left, right);
        frames_ += kBlock;
        return true;
    }
    std::uint64_t Frames() const { return frames_; }

    std::vector<float> left = std::vector<float>(kBlock);
    std::vector<float> right = std::vector<float>(kBlock);

  private:
    blok::fluid::OfflineFluidSynthSequencer* renderer_ = nullptr;
    std::unique_ptr<blok::Mci> mci_;
    std::unique_ptr<blok::MciMidi> song_;
    std::uint64_t frames_ = 0;
};

// Renders the song as the game does and with the whole font and all the voices the synthesiser
// offers by default, side by side.
bool SameWithWholeFont(const char* file) {
    OfflineSong trimmed(file);
    blok::fluid::FluidSynthOptions whole;
    whole.wholeSoundFont = true;
    whole.polyphony = 256;
    OfflineSong reference(file, whole);
    if (trimmed.Error() || reference.Error()) {
        std::printf("%s: %s\n", file, trimmed.Error() ? trimmed.Error() : reference.Error());
        return false;
    }
    std::uint64_t differing = 0;
    bool more = true;
    while (more) {
        more = trimmed.Next();
        if (more != reference.Next()) {
            std::printf("%s: the two renderings end at different times\n", file);
            return false;
        }
        for (std::size_t f = 0; more && f < OfflineSong::kBlock; ++f)
            differing += (trimmed.left[f] != reference.left[f] ? 1u : 0u) +
                         (trimmed.right[f] != reference.right[f] ? 1u : 0u);
    }
    std::printf("%s: %llu frames; %d of %d presets loaded; %llu samples differ\n", file,
                static_cast<unsigned long long>(trimmed.Frames()), trimmed.LoadedPresets(),
                reference.LoadedPresets(), static_cast<unsigned long long>(differing));
    return differing == 0;
}

// Opens and closes the files in turn, five times over, and prints how long each open took.
int TimeOpens(std::unique_ptr<blok::MciDevice> device, std::span<char*> files) {
    blok::Mci mci(std::move(device));
    for (int round = 1; round <= 5; ++round)
        for (const char* file : files) {
            const auto start = std::chrono::steady_clock::now();
            std::uint32_t id = 0;
            const std::uint32_t result = mci.Open(blok::kSequencerDeviceType, file, id);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            std::printf(
                "open %d of %s: result %u (%s), %.2f ms\n", round, file, result,
                result == 0 ? "playing device" : blok::GetError(static_cast<std::uint16_t>(result)),
                took.count());
            if (result == 0) mci.Close(id);
        }
    return 0;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// One track of a million short notes, each a note-on and a note-off with their own status
// bytes: 8 bytes a note, 8 MB in all, over an hour at 120 beats a minute.
int WriteLongSong(const char* file) {
    constexpr std::uint32_t kNotes = 1'000'000;
    std::vector<unsigned char> track;
    track.reserve(kNotes * 8 + 4);
    for (std::uint32_t note = 0; note < kNotes; ++note) {
        const auto key = static_cast<unsigned char>(48 + note % 24);
        track.insert(track.end(), {0, 0x90, key, 80, 4, 0x80, key, 0});
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});  // end of track
    std::ofstream out(file, std::ios::binary);
    auto bigEndian = [&](std::uint32_t value, int bytes) {
        for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
            out.put(static_cast<char>((value >> shift) & 0xFF));
    };
    out.write("MThd", 4);
    bigEndian(6, 4);
    bigEndian(0, 2);  // one track
    bigEndian(1, 2);
    bigEndian(480, 2);  // ticks per quarter note
    out.write("MTrk", 4);
    bigEndian(static_cast<std::uint32_t>(track.size()), 4);
    out.write(reinterpret_cast<const char*>(track.data()),
              static_cast<std::streamsize>(track.size()));
    out.close();
    if (!out) {
        std::printf("%s: cannot write\n", file);
        return 1;
    }
    return 0;
}

int TimeLoad(const char* file) {
    blok::Mci mci(blok::fluid::MakeFluidSynthSequencer());
    // The sound font is loaded before, as in the game when a song follows another.
    std::uint32_t id = 0;
    if (mci.Open(blok::kSequencerDeviceType, file, id) != 0) return 1;
    mci.Close(id);

    auto start = std::chrono::steady_clock::now();
    const std::uint32_t opened = mci.Open(blok::kSequencerDeviceType, file, id);
    const double openMs = MillisecondsSince(start);
    if (opened != 0) {
        std::printf("%s: %s\n", file, blok::GetError(static_cast<std::uint16_t>(opened)));
        return 1;
    }
    start = std::chrono::steady_clock::now();
    mci.Play(id, 0);
    const double playMs = MillisecondsSince(start);
    double slowestPoll = 0;
    std::uint32_t position = 0;
    const auto playing = std::chrono::steady_clock::now();
    while (MillisecondsSince(playing) < 3000) {
        start = std::chrono::steady_clock::now();
        mci.Status(id, blok::MciStatusItem::Position, position);
        slowestPoll = std::max(slowestPoll, MillisecondsSince(start));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    start = std::chrono::steady_clock::now();
    mci.Stop(id);
    const double stopMs = MillisecondsSince(start);
    start = std::chrono::steady_clock::now();
    mci.Close(id);
    const double closeMs = MillisecondsSince(start);

    // The synthesiser reads the song in the first period it renders after the start.
    if (mci.Open(blok::kSequencerDeviceType, file, id) != 0 || mci.Play(id, 0) != 0) return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    start = std::chrono::steady_clock::now();
    mci.Stop(id);
    const double stopLoadingMs = MillisecondsSince(start);
    start = std::chrono::steady_clock::now();
    mci.Close(id);
    std::printf(
        "%s: open %.1f ms, play %.1f ms, slowest position %.1f ms (at %u ms), "
        "stop %.1f ms, close %.1f ms; while loading: stop %.1f ms, close %.1f ms\n",
        file, openMs, playMs, slowestPoll, position, stopMs, closeMs, stopLoadingMs,
        MillisecondsSince(start));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string wavDir;
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::span<char*> rest(argv + i + 1, static_cast<std::size_t>(argc - i - 1));
        if (arg == "--time-open" && !rest.empty())
            return TimeOpens(blok::fluid::MakeFluidSynthSequencer(), rest);
        if (arg == "--time-load" && i + 1 < argc) return TimeLoad(argv[i + 1]);
        if (arg == "--write-long-song" && i + 1 < argc) return WriteLongSong(argv[i + 1]);
        if (arg == "--time-open-offline" && !rest.empty())
            return TimeOpens(std::make_unique<blok::fluid::OfflineFluidSynthSequencer>(), rest);
        if (arg == "--compare-fonts") {
            for (const char* file : rest) failures += !SameWithWholeFont(file);
            return failures == 0 ? 0 : 1;
        }
        if (arg == "--wav" && i + 1 < argc) {
            wavDir = argv[++i];
            continue;
        }
        OfflineSong song(arg);
        if (const char* error = song.Error()) {
            std::printf("%s: %s\n", arg.c_str(), error);
            ++failures;
            continue;
        }
        const int rate = song.Rate();
        std::vector<float> all;
        Loudness loudness;
        while (song.Next()) {
            for (std::size_t f = 0; f < OfflineSong::kBlock; ++f) {
                loudness.Add(song.left[f]);
                loudness.Add(song.right[f]);
                if (!wavDir.empty()) {
                    all.push_back(song.left[f]);
                    all.push_back(song.right[f]);
                }
            }
        }
        const double renderedMs = 1000.0 * static_cast<double>(song.Frames()) / rate;
        std::printf("%s: length %u ms, rendered %.0f ms, RMS %.1f dBFS, peak %.3f, clipped %llu\n",
                    arg.c_str(), song.LengthMs(), renderedMs, loudness.RmsDb(), loudness.peak,
                    static_cast<unsigned long long>(loudness.clipped));
        if (loudness.RmsDb() < -50.0) ++failures;
        if (!wavDir.empty())
            WriteWav(std::filesystem::path(wavDir) /
                         (std::filesystem::path(arg).stem().string() + ".wav"),
                     all, rate);
    }
    return failures == 0 ? 0 : 1;
}
