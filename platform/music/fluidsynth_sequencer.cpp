#include "fluidsynth_sequencer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <mutex>
#include <string_view>

#ifdef BLOK_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

#include "mci_error.h"

namespace blok {
namespace {

void QuietFluidLog(int /*level*/, const char* /*message*/, void* /*data*/) {}

#ifdef BLOK_HAVE_ALSA
void QuietAlsaLog(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
                  const char* /*fmt*/, ...) {}
#endif

// Failures are reported through MCI error numbers; neither library may write to the terminal.
void SilenceLibraryLogs() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, QuietFluidLog, nullptr);
#ifdef BLOK_HAVE_ALSA
        snd_lib_error_set_handler(QuietAlsaLog);
#endif
    });
}

// Outputs worth trying in turn. Not "file" (it would write a WAV beside the game) and not
// "jack" (it may start a sound server).
constexpr std::array<std::string_view, 5> kAudioDrivers = {"pulseaudio", "pipewire", "alsa", "sdl2", "oss"};

void CollectOption(void* data, const char* /*name*/, const char* option) {
    static_cast<std::vector<std::string>*>(data)->emplace_back(option);
}

std::vector<std::string> AvailableDrivers(fluid_settings_t* settings) {
    std::vector<std::string> available;
    fluid_settings_foreach_option(settings, "audio.driver", &available, CollectOption);
    std::vector<std::string> ordered;
    char* preferred = nullptr;
    if (fluid_settings_dupstr(settings, "audio.driver", &preferred) == FLUID_OK && preferred) {
        if (std::find(kAudioDrivers.begin(), kAudioDrivers.end(), preferred) != kAudioDrivers.end())
            ordered.emplace_back(preferred);
        fluid_free(preferred);
    }
    for (std::string_view driver : kAudioDrivers) {
        if (std::find(available.begin(), available.end(), driver) != available.end() &&
            std::find(ordered.begin(), ordered.end(), driver) == ordered.end())
            ordered.emplace_back(driver);
    }
    return ordered;
}

fluid_audio_driver_t* OpenAudioOutput(fluid_settings_t* settings, fluid_synth_t* synth) {
    for (const std::string& driver : AvailableDrivers(settings)) {
        fluid_settings_setstr(settings, "audio.driver", driver.c_str());
        if (fluid_audio_driver_t* output = new_fluid_audio_driver(settings, synth)) return output;
    }
    return nullptr;
}

// One open song: its own synthesiser with the sound font, a player holding the file, and,
// unless rendering offline, an audio output whose thread pulls samples from the synthesiser.
class FluidSong final : public MciSong {
public:
    ~FluidSong() override {
        // The audio thread goes first, so that nothing renders while the rest is torn down.
        if (output_) delete_fluid_audio_driver(output_);
        if (player_) {
            fluid_player_stop(player_);
            delete_fluid_player(player_);
        }
        if (synth_) delete_fluid_synth(synth_);
        if (settings_) delete_fluid_settings(settings_);
    }

    std::uint32_t Create(std::shared_ptr<const MidiSong> song, const FluidSynthOptions& options, bool withOutput) {
        song_ = std::move(song);
        if (!std::filesystem::is_regular_file(options.soundFont)) return MCIERR_CANNOT_LOAD_DRIVER;
        settings_ = new_fluid_settings();
        if (!settings_) return MCIERR_OUT_OF_MEMORY;
        fluid_settings_setnum(settings_, "synth.gain", options.gain);
        fluid_settings_setnum(settings_, "synth.sample-rate", options.sampleRate);
        // The song's clock follows the rendered samples, so positions match what was heard.
        fluid_settings_setstr(settings_, "player.timing-source", "sample");
        synth_ = new_fluid_synth(settings_);
        if (!synth_) return MCIERR_OUT_OF_MEMORY;
        // The output is opened before the sound font is loaded: without sound hardware it
        // fails in a moment, and loading megabytes of samples first would be wasted.
        if (withOutput) {
            output_ = OpenAudioOutput(settings_, synth_);
            if (!output_) return MCIERR_HARDWARE;
        }
        if (fluid_synth_sfload(synth_, options.soundFont.c_str(), 1) == FLUID_FAILED) return MCIERR_CANNOT_LOAD_DRIVER;
        player_ = new_fluid_player(synth_);
        if (!player_) return MCIERR_OUT_OF_MEMORY;
        if (fluid_player_add_mem(player_, song_->bytes.data(), song_->bytes.size()) != FLUID_OK)
            return MCIERR_INVALID_FILE;
        return 0;
    }

    std::uint32_t Play(std::uint32_t fromMs) override {
        const auto tick = static_cast<int>(song_->TickAt(fromMs));
        lastTickBeforeSeek_ = fluid_player_get_current_tick(player_);
        if (fluid_player_seek(player_, tick) != FLUID_OK) return MCIERR_OUTOFRANGE;
        if (fluid_player_play(player_) != FLUID_OK) return MCIERR_DEVICE_NOT_READY;
        seekedTo_ = tick;
        return 0;
    }

    std::uint32_t Stop() override {
        fluid_player_stop(player_);
        // A stopped player leaves its notes sounding; release them.
        fluid_synth_all_notes_off(synth_, -1);
        return 0;
    }

    std::uint32_t Position(std::uint32_t& ms) override {
        int tick = fluid_player_get_current_tick(player_);
        // A seek takes effect with the next rendered block; until then the player still
        // reports where it was.
        if (seekedTo_ >= 0) {
            if (tick == lastTickBeforeSeek_) tick = seekedTo_;
            else seekedTo_ = -1;
        }
        ms = song_->MillisecondsAt(static_cast<std::uint64_t>(std::max(tick, 0)));
        return 0;
    }

    void Render(std::span<float> left, std::span<float> right) {
        fluid_synth_write_float(synth_, static_cast<int>(left.size()), left.data(), 0, 1, right.data(), 0, 1);
    }

private:
    std::shared_ptr<const MidiSong> song_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* output_ = nullptr;
    fluid_player_t* player_ = nullptr;
    int seekedTo_ = -1;
    int lastTickBeforeSeek_ = -1;
};

class FluidSynthSequencer final : public MciDevice {
public:
    explicit FluidSynthSequencer(FluidSynthOptions options) : options_(std::move(options)) { SilenceLibraryLogs(); }

    std::uint32_t Open(std::shared_ptr<const MidiSong> song, std::unique_ptr<MciSong>& opened) override {
        auto created = std::make_unique<FluidSong>();
        if (const std::uint32_t error = created->Create(std::move(song), options_, true); error != 0) return error;
        opened = std::move(created);
        return 0;
    }

private:
    FluidSynthOptions options_;
};

}  // namespace

std::unique_ptr<MciDevice> MakeFluidSynthSequencer(FluidSynthOptions options) {
    return std::make_unique<FluidSynthSequencer>(std::move(options));
}

// ---- offline rendering --------------------------------------------------------------------

struct OfflineFluidSynthSequencer::Songs {
    std::vector<FluidSong*> open;
};

namespace {

// A rendered song that leaves the list of songs to mix when it is closed.
class OfflineSong final : public MciSong {
public:
    OfflineSong(std::unique_ptr<FluidSong> song, std::shared_ptr<OfflineFluidSynthSequencer::Songs> songs)
        : song_(std::move(song)), songs_(std::move(songs)) {
        songs_->open.push_back(song_.get());
    }
    ~OfflineSong() override { std::erase(songs_->open, song_.get()); }

    std::uint32_t Play(std::uint32_t fromMs) override { return song_->Play(fromMs); }
    std::uint32_t Stop() override { return song_->Stop(); }
    std::uint32_t Position(std::uint32_t& ms) override { return song_->Position(ms); }

private:
    std::unique_ptr<FluidSong> song_;
    std::shared_ptr<OfflineFluidSynthSequencer::Songs> songs_;
};

}  // namespace

OfflineFluidSynthSequencer::OfflineFluidSynthSequencer(FluidSynthOptions options)
    : options_(std::move(options)), songs_(std::make_shared<Songs>()) {
    SilenceLibraryLogs();
}

OfflineFluidSynthSequencer::~OfflineFluidSynthSequencer() = default;

std::uint32_t OfflineFluidSynthSequencer::Open(std::shared_ptr<const MidiSong> song, std::unique_ptr<MciSong>& opened) {
    auto created = std::make_unique<FluidSong>();
    if (const std::uint32_t error = created->Create(std::move(song), options_, false); error != 0) return error;
    opened = std::make_unique<OfflineSong>(std::move(created), songs_);
    return 0;
}

void OfflineFluidSynthSequencer::Render(std::span<float> left, std::span<float> right) {
    std::fill(left.begin(), left.end(), 0.0f);
    std::fill(right.begin(), right.end(), 0.0f);
    std::vector<float> songLeft(left.size()), songRight(right.size());
    for (FluidSong* song : songs_->open) {
        song->Render(songLeft, songRight);
        for (std::size_t i = 0; i < left.size(); ++i) {
            left[i] += songLeft[i];
            right[i] += songRight[i];
        }
    }
}

}  // namespace blok
