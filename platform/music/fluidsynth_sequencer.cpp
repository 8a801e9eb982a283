#include "fluidsynth_sequencer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifdef BLOK_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

#include "mci_error.h"

namespace blok::fluid {
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

// Loading the sound font leaves megabytes of freed scratch memory in the heap; hand it back.
void ReturnFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void CollectOption(void* data, const char* /*name*/, const char* option) {
    static_cast<std::vector<std::string>*>(data)->emplace_back(option);
}

std::vector<std::string> AvailableDrivers(fluid_settings_t* settings) {
    std::vector<std::string> available;
    fluid_settings_foreach_option(settings, "audio.driver", &available, CollectOption);
    return available;
}

fluid_audio_driver_t* OpenAudioOutput(fluid_settings_t* settings, fluid_audio_func_t render,
                                      void* engine) {
    for (const std::string& driver :
         AudioDriverOrder(RunningSoundServers(), AvailableDrivers(settings))) {
        fluid_settings_setstr(settings, "audio.driver", driver.c_str());
        if (fluid_audio_driver_t* output = new_fluid_audio_driver2(settings, render, engine))
            return output;
    }
    return nullptr;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsSocket(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_socket(path, error);
}

bool SocketIn(const char* folderVariable, const char* name) {
    const std::string folder = Environment(folderVariable);
    return !folder.empty() && IsSocket(std::filesystem::path(folder) / name);
}

fluid_settings_t* NewSettings(const FluidSynthOptions& options) {
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return nullptr;
    fluid_settings_setnum(settings, "synth.gain", options.gain);
    fluid_settings_setnum(settings, "synth.sample-rate", options.sampleRate);
    // The song's clock follows the rendered samples, so positions match what was heard.
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    // A player must not reset the synthesiser another song may be using; the engine resets it
    // when a song takes it over.
    fluid_settings_setint(settings, "player.reset-synth", 0);
    // Only the samples of the instruments the songs choose are held in memory, not the whole
    // sound font: the same sound in a few megabytes less.
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(settings, "audio.period-size", options.periodFrames);
    fluid_settings_setint(settings, "audio.periods", options.periods);
    return settings;
}

}  // namespace

// A server named in the environment counts as running: the user pointed us there.
SoundServers RunningSoundServers() {
    SoundServers servers;
    servers.pulseAudio = !Environment("PULSE_SERVER").empty() ||
                         SocketIn("PULSE_RUNTIME_PATH", "native") ||
                         SocketIn("XDG_RUNTIME_DIR", "pulse/native");
    servers.pipeWire = !Environment("PIPEWIRE_REMOTE").empty() ||
                       SocketIn("PIPEWIRE_RUNTIME_DIR", "pipewire-0") ||
                       SocketIn("XDG_RUNTIME_DIR", "pipewire-0");
    return servers;
}

std::vector<std::string> AudioDriverOrder(SoundServers servers,
                                          const std::vector<std::string>& available) {
    std::vector<std::string> wanted;
    if (servers.pulseAudio) wanted.emplace_back("pulseaudio");
    if (servers.pipeWire) wanted.emplace_back("pipewire");
    wanted.emplace_back("alsa");
    std::erase_if(wanted, [&](const std::string& driver) {
        return std::find(available.begin(), available.end(), driver) == available.end();
    });
    return wanted;
}

// The synthesiser with the sound font and, for the game, the audio output. Loading the sound
// font takes tens of milliseconds and every output is a new connection to the sound server, so
// both are made once and shared by the open songs, each of which drives its own player.
//
// The synthesiser calls the players while it renders, from the audio thread, and keeps them in
// a list it does not guard. So it renders under `lock_`, and every call on a player, including
// making and deleting it, holds `lock_` too.
//
// Deleting the player of a long song takes tens of milliseconds, and waiting for `lock_` up to a
// rendered period more; a closed song's player is therefore handed to the engine's own thread,
// which deletes it, and the closing thread goes on at once.
class FluidEngine {
  public:
    // What the engine keeps of each player; the player's callbacks receive it, so it lives on
    // after its song has closed, until the player itself is gone.
    struct PlayerSlot {
        FluidEngine* engine = nullptr;
        fluid_player_t* player = nullptr;
        std::atomic<int> tick{0};  // where the player stood after the last rendered block
    };

    FluidEngine(FluidSynthOptions options, bool withOutput)
        : options_(std::move(options)), withOutput_(withOutput) {
        SilenceLibraryLogs();
    }
    ~FluidEngine() {
        // The audio thread goes first, so that nothing renders while the rest is torn down.
        if (output_) delete_fluid_audio_driver(output_);
        StopDeletingPlayers();
        if (synth_) delete_fluid_synth(synth_);
        if (settings_) delete_fluid_settings(settings_);
    }
    FluidEngine(const FluidEngine&) = delete;
    FluidEngine& operator=(const FluidEngine&) = delete;

    // Makes what is still missing: 0, or the MCI error of the first part that cannot be made.
    std::uint32_t Prepare() {
        if (!soundFontLoaded_ && !std::filesystem::is_regular_file(options_.soundFont))
            return MCIERR_CANNOT_LOAD_DRIVER;
        if (!settings_ && !(settings_ = NewSettings(options_))) return MCIERR_OUT_OF_MEMORY;
        if (!synth_ && !(synth_ = new_fluid_synth(settings_))) return MCIERR_OUT_OF_MEMORY;
        // The output is opened before the sound font is loaded: without sound hardware it fails
        // in a moment, and loading megabytes of samples first would be wasted. It is tried again
        // at every open until it works, so a sound server started later is found.
        if (withOutput_ && !output_ &&
            !(output_ = OpenAudioOutput(settings_, RenderForOutput, this)))
            return MCIERR_HARDWARE;
        if (!soundFontLoaded_) {
            if (fluid_synth_sfload(synth_, options_.soundFont.c_str(), 1) == FLUID_FAILED)
                return MCIERR_CANNOT_LOAD_DRIVER;
            soundFontLoaded_ = true;
            ReturnFreedMemory();
        }
        return 0;
    }

    std::optional<AudioOutputSettings> OutputSettings() {
        const auto lock = Lock();
        if (!output_) return std::nullopt;
        AudioOutputSettings opened;
        char* driver = nullptr;
        if (fluid_settings_dupstr(settings_, "audio.driver", &driver) == FLUID_OK && driver) {
            opened.driver = driver;
            fluid_free(driver);
        }
        fluid_settings_getint(settings_, "audio.period-size", &opened.periodFrames);
        fluid_settings_getint(settings_, "audio.periods", &opened.periods);
        return opened;
    }

    [[nodiscard]] std::unique_lock<std::mutex> Lock() { return std::unique_lock(lock_); }

    // The calls below expect the lock held.

    // A player whose events reach the synthesiser only while its song is the one heard: a halted
    // player may still silence the channels it played on, which now belong to another song.
    // After every rendered block its position is stored in the slot.
    PlayerSlot* NewPlayer() {
        fluid_player_t* player = new_fluid_player(synth_);
        if (!player) return nullptr;
        auto slot = std::make_unique<PlayerSlot>();
        slot->engine = this;
        slot->player = player;
        fluid_player_set_playback_callback(player, PassEventFrom, slot.get());
        players_.push_back(std::move(slot));
        return players_.back().get();
    }

    // Without the lock: the engine's thread halts and deletes the player within a rendered
    // period, or the engine does when it goes.
    void DeletePlayerLater(PlayerSlot* slot) {
        try {
            {
                const std::lock_guard queue(retiredLock_);
                if (!deleter_.joinable())
                    deleter_ = std::thread([this] { DeleteRetiredPlayers(); });
                retired_.push_back(slot);
            }
            retiredChanged_.notify_all();
        } catch (const std::exception&) {
            // No thread or no memory to hand it over: delete it here, waiting for the lock.
            const auto lock = Lock();
            DeletePlayer(slot);
        }
    }

    void WaitForClosedSongs() {
        std::unique_lock queue(retiredLock_);
        retiredChanged_.wait(queue, [this] { return retired_.empty() && !deleting_; });
    }

    // Gives the synthesiser to `player`: the song heard so far halts, and the synthesiser starts
    // afresh as it would for a new file. Resuming the song heard last keeps everything as it is.
    void Hear(fluid_player_t* player) {
        if (heard_ == player) return;
        if (heard_) fluid_player_stop(heard_);
        fluid_synth_system_reset(synth_);
        heard_ = player;
    }

    void Halt(fluid_player_t* player) {
        fluid_player_stop(player);
        // A stopped player leaves its notes sounding; release them.
        if (heard_ == player) fluid_synth_all_notes_off(synth_, -1);
    }

    // Offline rendering: the caller pulls the samples.
    void Render(std::span<float> left, std::span<float> right) {
        const auto lock = Lock();
        if (!synth_) {  // nothing opened yet
            std::fill(left.begin(), left.end(), 0.0f);
            std::fill(right.begin(), right.end(), 0.0f);
            return;
        }
        FollowVolume();
        fluid_synth_write_float(synth_, static_cast<int>(left.size()), left.data(), 0, 1,
                                right.data(), 0, 1);
        PublishClocks();
    }

  private:
    // Called by the players while the synthesiser renders.
    static int PassEventFrom(void* data, fluid_midi_event_t* event) {
        const auto& slot = *static_cast<const PlayerSlot*>(data);
        FluidEngine& engine = *slot.engine;
        return slot.player == engine.heard_ ? fluid_synth_handle_midi_event(engine.synth_, event)
                                            : FLUID_OK;
    }

    void DeletePlayer(PlayerSlot* slot) {
        Halt(slot->player);
        if (heard_ == slot->player) heard_ = nullptr;
        delete_fluid_player(slot->player);
        std::erase_if(players_, [slot](const auto& kept) { return kept.get() == slot; });
    }

    // The engine's thread: deletes the players handed to it, one at a time under `lock_`, until
    // the engine goes and none is left.
    void DeleteRetiredPlayers() {
        std::unique_lock queue(retiredLock_);
        for (;;) {
            retiredChanged_.wait(queue, [this] { return stopping_ || !retired_.empty(); });
            if (retired_.empty()) return;
            PlayerSlot* slot = retired_.front();
            retired_.pop_front();
            deleting_ = true;
            queue.unlock();
            {
                const auto lock = Lock();
                DeletePlayer(slot);
            }
            queue.lock();
            deleting_ = false;
            retiredChanged_.notify_all();
        }
    }

    void StopDeletingPlayers() {
        {
            const std::lock_guard queue(retiredLock_);
            stopping_ = true;
        }
        retiredChanged_.notify_all();
        if (deleter_.joinable()) deleter_.join();
    }

    static int RenderForOutput(void* data, int frames, int nfx, float* fx[], int nout,
                               float* out[]) {
        auto& engine = *static_cast<FluidEngine*>(data);
        // The outputs have no buffers of their own for reverb and chorus: mix them into the sound.
        std::array<float*, 4> effectsIntoOut{};
        if (nfx == 0 && nout >= 2) {
            effectsIntoOut = {out[0], out[1], out[0], out[1]};
            nfx = static_cast<int>(effectsIntoOut.size());
            fx = effectsIntoOut.data();
        }
        const auto lock = engine.Lock();
        engine.FollowVolume();
        const int result = fluid_synth_process(engine.synth_, frames, nfx, fx, nout, out);
        engine.PublishClocks();
        return result;
    }

    void FollowVolume() {
        if (!options_.volume) return;
        const float volume = options_.volume->load();
        if (volume == appliedVolume_) return;
        appliedVolume_ = volume;
        fluid_synth_set_gain(synth_, static_cast<float>(options_.gain) * volume);
    }

    // A player reads its song in the first block it renders, which takes a while for a long
    // song; the positions are read from here, so that asking for one never waits for that.
    void PublishClocks() {
        for (const auto& slot : players_)
            slot->tick.store(fluid_player_get_current_tick(slot->player),
                             std::memory_order_relaxed);
    }

    const FluidSynthOptions options_;
    const bool withOutput_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    bool soundFontLoaded_ = false;
    fluid_audio_driver_t* output_ = nullptr;
    std::mutex lock_;
    fluid_player_t* heard_ = nullptr;  // the song the synthesiser's channels are set up for
    std::vector<std::unique_ptr<PlayerSlot>> players_;
    float appliedVolume_ = 1.0f;
    // The players of closed songs, waiting for the engine's thread to delete them.
    std::mutex retiredLock_;
    std::condition_variable retiredChanged_;
    std::deque<PlayerSlot*> retired_;
    bool deleting_ = false;
    bool stopping_ = false;
    std::thread deleter_;  // started with the first closed song
};

namespace {

// One open song: its own player on the shared synthesiser.
class FluidSong final : public MciSong {
  public:
    FluidSong(std::shared_ptr<FluidEngine> engine, std::shared_ptr<const MidiSong> song)
        : engine_(std::move(engine)), song_(std::move(song)) {}

    ~FluidSong() override {
        if (slot_) engine_->DeletePlayerLater(slot_);
    }

    std::uint32_t Create() {
        if (const std::uint32_t error = engine_->Prepare(); error != 0) return error;
        const auto lock = engine_->Lock();
        slot_ = engine_->NewPlayer();
        if (!slot_) return MCIERR_OUT_OF_MEMORY;
        player_ = slot_->player;
        if (fluid_player_add_mem(player_, song_->bytes.data(), song_->bytes.size()) != FLUID_OK)
            return MCIERR_INVALID_FILE;
        return 0;
    }

    std::uint32_t Play(std::uint32_t fromMs) override {
        const auto tick = static_cast<int>(song_->TickAt(fromMs));
        const auto lock = engine_->Lock();
        lastTickBeforeSeek_ = slot_->tick.load(std::memory_order_relaxed);
        if (fluid_player_seek(player_, tick) != FLUID_OK) return MCIERR_OUTOFRANGE;
        engine_->Hear(player_);
        if (fluid_player_play(player_) != FLUID_OK) return MCIERR_DEVICE_NOT_READY;
        seekedTo_ = tick;
        return 0;
    }

    std::uint32_t Stop() override {
        const auto lock = engine_->Lock();
        engine_->Halt(player_);
        return 0;
    }

    // Without the engine's lock: the audio thread may hold it for long while a song loads.
    std::uint32_t Position(std::uint32_t& ms) override {
        int tick = slot_->tick.load(std::memory_order_relaxed);
        // A seek takes effect with the next rendered block; until then the player still
        // reports where it was.
        if (seekedTo_ >= 0) {
            if (tick == lastTickBeforeSeek_)
                tick = seekedTo_;
            else
                seekedTo_ = -1;
        }
        ms = song_->MillisecondsAt(static_cast<std::uint64_t>(std::max(tick, 0)));
        return 0;
    }

  private:
    std::shared_ptr<FluidEngine> engine_;
    std::shared_ptr<const MidiSong> song_;
    FluidEngine::PlayerSlot* slot_ = nullptr;  // the engine's, handed back when the song closes
    fluid_player_t* player_ = nullptr;
    int seekedTo_ = -1;
    int lastTickBeforeSeek_ = -1;
};

std::uint32_t OpenSong(const std::shared_ptr<FluidEngine>& engine,
                       std::shared_ptr<const MidiSong> song, std::unique_ptr<MciSong>& opened) {
    auto created = std::make_unique<FluidSong>(engine, std::move(song));
    if (const std::uint32_t error = created->Create(); error != 0) return error;
    opened = std::move(created);
    return 0;
}

}  // namespace

FluidSynthSequencer::FluidSynthSequencer(FluidSynthOptions options)
    : engine_(std::make_shared<FluidEngine>(std::move(options), true)) {}

FluidSynthSequencer::~FluidSynthSequencer() = default;

std::uint32_t FluidSynthSequencer::Open(std::shared_ptr<const MidiSong> song,
                                        std::unique_ptr<MciSong>& opened) {
    return OpenSong(engine_, std::move(song), opened);
}

std::optional<AudioOutputSettings> FluidSynthSequencer::OutputSettings() const {
    return engine_->OutputSettings();
}

std::unique_ptr<FluidSynthSequencer> MakeFluidSynthSequencer(FluidSynthOptions options) {
    return std::make_unique<FluidSynthSequencer>(std::move(options));
}

OfflineFluidSynthSequencer::OfflineFluidSynthSequencer(FluidSynthOptions options)
    : sampleRate_(options.sampleRate),
      engine_(std::make_shared<FluidEngine>(std::move(options), false)) {}

OfflineFluidSynthSequencer::~OfflineFluidSynthSequencer() = default;

std::uint32_t OfflineFluidSynthSequencer::Open(std::shared_ptr<const MidiSong> song,
                                               std::unique_ptr<MciSong>& opened) {
    return OpenSong(engine_, std::move(song), opened);
}

void OfflineFluidSynthSequencer::WaitForClosedSongs() {
    engine_->WaitForClosedSongs();
}

void OfflineFluidSynthSequencer::Render(std::span<float> left, std::span<float> right) {
    engine_->Render(left, right);
}

}  // namespace blok::fluid
