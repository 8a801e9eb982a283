#include "fluidsynth_sequencer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifdef BLOK_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

#include "mci_error.h"
#include "sound_font.h"

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

// The trimmed sound fonts the synthesiser may open, by the name it was given for them. Its file
// functions carry no context of ours, and it opens a font again whenever a song chooses an
// instrument whose samples are not loaded yet.
class TrimmedFontNames {
  public:
    static std::string Add(std::shared_ptr<const TrimmedSoundFont> font) {
        const std::lock_guard lock(lock_);
        std::string name = font->path() + " (presets " + std::to_string(++made_) + ")";
        fonts_.emplace(name, std::move(font));
        return name;
    }
    static void Remove(const std::string& name) {
        const std::lock_guard lock(lock_);
        fonts_.erase(name);
    }
    static std::shared_ptr<const TrimmedSoundFont> Find(const std::string& name) {
        const std::lock_guard lock(lock_);
        const auto found = fonts_.find(name);
        return found == fonts_.end() ? nullptr : found->second;
    }

  private:
    static inline std::mutex lock_;
    static inline std::map<std::string, std::shared_ptr<const TrimmedSoundFont>> fonts_;
    static inline int made_ = 0;
};

// The synthesiser's file functions for a trimmed font: the file's own bytes come from disk.
struct OpenTrimmedFont {
    std::shared_ptr<const TrimmedSoundFont> font;
    std::ifstream file;
    std::uint64_t position = 0;
};

void* OpenTrimmed(const char* name) {
    auto opened = std::make_unique<OpenTrimmedFont>();
    opened->font = TrimmedFontNames::Find(name);
    if (!opened->font) return nullptr;  // not ours: a real file, for the next loader
    opened->file.open(opened->font->path(), std::ios::binary);
    return opened->file ? opened.release() : nullptr;
}

int ReadTrimmed(void* buffer, fluid_long_long_t count, void* handle) {
    auto& opened = *static_cast<OpenTrimmedFont*>(handle);
    if (count < 0 ||
        !opened.font->Read(opened.position,
                           {static_cast<std::uint8_t*>(buffer), static_cast<std::size_t>(count)},
                           opened.file))
        return FLUID_FAILED;
    opened.position += static_cast<std::uint64_t>(count);
    return FLUID_OK;
}

int SeekTrimmed(void* handle, fluid_long_long_t offset, int origin) {
    auto& opened = *static_cast<OpenTrimmedFont*>(handle);
    const auto size = static_cast<fluid_long_long_t>(opened.font->size());
    const fluid_long_long_t base = origin == SEEK_SET ? 0
                                   : origin == SEEK_CUR
                                       ? static_cast<fluid_long_long_t>(opened.position)
                                       : size;
    if (offset < -base || offset > size - base) return FLUID_FAILED;
    opened.position = static_cast<std::uint64_t>(base + offset);
    return FLUID_OK;
}

fluid_long_long_t TellTrimmed(void* handle) {
    return static_cast<fluid_long_long_t>(static_cast<OpenTrimmedFont*>(handle)->position);
}

int CloseTrimmed(void* handle) {
    delete static_cast<OpenTrimmedFont*>(handle);
    return FLUID_OK;
}

// Tried before the synthesiser's own loader, which reads real files.
void AddTrimmedFontLoader(fluid_synth_t* synth, fluid_settings_t* settings) {
    fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
    if (!loader) return;
    fluid_sfloader_set_callbacks(loader, OpenTrimmed, ReadTrimmed, SeekTrimmed, TellTrimmed,
                                 CloseTrimmed);
    fluid_synth_add_sfloader(synth, loader);
}

fluid_settings_t* NewSettings(const FluidSynthOptions& options) {
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return nullptr;
    fluid_settings_setnum(settings, "synth.gain", options.gain);
    fluid_settings_setnum(settings, "synth.sample-rate", options.sampleRate);
    fluid_settings_setint(settings, "synth.polyphony", options.polyphony);
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

// The PulseAudio client library adds PULSE_PROP_* variables to the properties of every client
// where the client sets none itself, and PULSE_PROP_OVERRIDE_* over those it sets, as the
// synthesiser sets its own name. PipeWire's own clients take the program's name anyway.
void NameTheMusicStream(const char* application, const char* iconName) {
    if (std::getenv("PULSE_PROP_application.name") == nullptr) {
        setenv("PULSE_PROP_OVERRIDE_application.name", application, 0);
    }
    setenv("PULSE_PROP_application.icon_name", iconName, 0);
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
// The synthesiser calls the players while it renders and keeps them in a list it does not
// guard, so every call on a player, including making and deleting it, is made where the
// synthesiser renders, under `lock_`. The songs' threads never wait for that: they post their
// orders (load, play, halt, delete) to a queue, which is carried out in order just before the
// next block is rendered, when the orders would take effect anyway. Reading a long song and
// deleting its player take tens of milliseconds; the game's window goes on meanwhile.
class FluidEngine {
  public:
    // What the engine keeps of each player. The song's thread reads the published clock and
    // error; everything else belongs to the rendering side.
    struct PlayerSlot {
        FluidEngine* engine = nullptr;
        std::shared_ptr<const MidiSong> song;  // until the player has taken its copy
        fluid_player_t* player = nullptr;
        std::uint32_t ordersDone = 0;
        // After each rendered block: the orders carried out so far (high half) and where the
        // player stood (low half), in one word so that the two always match.
        std::atomic<std::uint64_t> clock{0};
        std::atomic<std::uint32_t> error{0};  // an MCI error met while carrying out an order

        struct Reading {
            std::uint32_t ordersDone;
            int tick;
        };
        Reading Read() const {
            const std::uint64_t word = clock.load(std::memory_order_acquire);
            return {static_cast<std::uint32_t>(word >> 32), static_cast<int>(word & 0x7FFFFFFF)};
        }
    };

    struct Order {
        enum Kind { Load, Play, Halt, Delete } kind;
        PlayerSlot* slot;
        int tick = 0;  // where Play starts
    };

    FluidEngine(FluidSynthOptions options, bool withOutput)
        : options_(std::move(options)), withOutput_(withOutput) {
        SilenceLibraryLogs();
    }
    ~FluidEngine() {
        // The audio thread goes first, so that nothing renders while the rest is torn down.
        if (output_) delete_fluid_audio_driver(output_);
        CarryOutOrders();
        for (const auto& slot : players_)
            if (slot->player) delete_fluid_player(slot->player);
        if (synth_) delete_fluid_synth(synth_);
        if (settings_) delete_fluid_settings(settings_);
        TrimmedFontNames::Remove(fontName_);
    }
    FluidEngine(const FluidEngine&) = delete;
    FluidEngine& operator=(const FluidEngine&) = delete;

    // Makes what is still missing for a song that selects `presets`: 0, or the MCI error of
    // the first part that cannot be made. Opening and closing songs (Prepare, NewSlot,
    // SongClosed) happens on the songs' thread.
    std::uint32_t Prepare(const PresetSelection& presets) {
        if (fontId_ == FLUID_FAILED && !std::filesystem::is_regular_file(options_.soundFont))
            return MCIERR_CANNOT_LOAD_DRIVER;
        if (!settings_ && !(settings_ = NewSettings(options_))) return MCIERR_OUT_OF_MEMORY;
        if (!synth_) {
            if (!(synth_ = new_fluid_synth(settings_))) return MCIERR_OUT_OF_MEMORY;
            AddTrimmedFontLoader(synth_, settings_);
        }
        // The output is opened before the sound font is loaded: without sound hardware it fails
        // in a moment, and loading megabytes of samples first would be wasted. It is tried again
        // at every open until it works, so a sound server started later is found.
        if (withOutput_ && !output_ &&
            !(output_ = OpenAudioOutput(settings_, RenderForOutput, this)))
            return MCIERR_HARDWARE;
        return LoadPresetsFor(presets);
    }

    int LoadedPresets() {
        fluid_sfont_t* font =
            fontId_ == FLUID_FAILED ? nullptr : fluid_synth_get_sfont_by_id(synth_, fontId_);
        if (!font) return 0;
        int presets = 0;
        fluid_sfont_iteration_start(font);
        while (fluid_sfont_iteration_next(font)) ++presets;
        return presets;
    }

    std::optional<AudioOutputSettings> OutputSettings() {
        const std::lock_guard lock(lock_);
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

    // A slot for a song's player; the player itself is made by the slot's Load order.
    PlayerSlot* NewSlot(std::shared_ptr<const MidiSong> song, const PresetSelection& presets) {
        auto slot = std::make_unique<PlayerSlot>();
        slot->engine = this;
        slot->song = std::move(song);
        openSongs_.emplace_back(slot.get(), presets);
        return slot.release();
    }

    // The song's presets need no longer be kept; its slot goes with the next Delete order.
    void SongClosed(const PlayerSlot* slot) {
        std::erase_if(openSongs_, [slot](const auto& open) { return open.first == slot; });
    }

    // Queues an order; it never waits for the synthesiser. Without memory for the queue, the
    // orders so far and this one are carried out here, waiting for the synthesiser.
    void Post(Order order) noexcept {
        try {
            const std::lock_guard queue(ordersLock_);
            orders_.push_back(order);
            return;
        } catch (const std::exception&) {
        }
        const std::lock_guard lock(lock_);
        CarryOutOrders();
        CarryOut(order);
    }

    // Offline rendering: the caller pulls the samples.
    void Render(std::span<float> left, std::span<float> right) {
        const std::lock_guard lock(lock_);
        CarryOutOrders();
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
    // The sound font holds only presets the open songs can select: its instrument definitions
    // take megabytes, and a song uses a handful. A song that needs more loads the font again,
    // before it can play, with its own presets and those of the songs still open; their
    // channels then find the same presets in the new font. Should the file not be trimmable,
    // it is loaded whole.
    std::uint32_t LoadPresetsFor(const PresetSelection& wanted) {
        if (fontId_ != FLUID_FAILED && loadedPresets_.Covers(wanted)) return 0;
        PresetSelection selection = wanted;
        for (const auto& open : openSongs_) selection.Add(open.second);
        std::string name;
        int id = options_.wholeSoundFont ? FLUID_FAILED : LoadTrimmed(selection, name);
        if (id == FLUID_FAILED) {
            id = fluid_synth_sfload(synth_, options_.soundFont.c_str(), 1);
            selection = PresetSelection::Everything();
        }
        if (id == FLUID_FAILED) return MCIERR_CANNOT_LOAD_DRIVER;
        if (fontId_ != FLUID_FAILED) fluid_synth_sfunload(synth_, fontId_, 1);
        TrimmedFontNames::Remove(fontName_);
        fontId_ = id;
        fontName_ = std::move(name);
        loadedPresets_ = selection;
        ReturnFreedMemory();
        return 0;
    }

    int LoadTrimmed(const PresetSelection& selection, std::string& name) {
        auto font = TrimmedSoundFont::Make(options_.soundFont, selection);
        if (!font) return FLUID_FAILED;
        name = TrimmedFontNames::Add(std::make_shared<const TrimmedSoundFont>(std::move(*font)));
        const int id = fluid_synth_sfload(synth_, name.c_str(), 1);
        if (id == FLUID_FAILED) TrimmedFontNames::Remove(name);
        return id;
    }

    // The calls below expect `lock_` held.

    void CarryOutOrders() {
        {
            const std::lock_guard queue(ordersLock_);
            std::swap(orders_, carryingOut_);
        }
        for (const Order& order : carryingOut_) CarryOut(order);
        carryingOut_.clear();
    }

    void CarryOut(const Order& order) {
        PlayerSlot& slot = *order.slot;
        ++slot.ordersDone;
        if (order.kind == Order::Load)
            LoadPlayer(order.slot);
        else if (order.kind == Order::Delete)
            DeletePlayer(order.slot);
        else if (!slot.player)
            return;  // its load failed; the song reports that error
        else if (order.kind == Order::Play)
            StartPlayer(slot, order.tick);
        else
            Halt(slot.player);
    }

    // A player whose events reach the synthesiser only while its song is the one heard: a halted
    // player may still silence the channels it played on, which now belong to another song.
    void LoadPlayer(PlayerSlot* adopted) {
        players_.emplace_back(adopted);
        PlayerSlot& slot = *adopted;
        const std::shared_ptr<const MidiSong> song = std::move(slot.song);
        slot.player = new_fluid_player(synth_);
        if (slot.player) {
            fluid_player_set_playback_callback(slot.player, PassEventFrom, &slot);
            if (fluid_player_add_mem(slot.player, song->bytes.data(), song->bytes.size()) ==
                FLUID_OK)
                return;
            delete_fluid_player(slot.player);
            slot.player = nullptr;
        }
        slot.error = MCIERR_OUT_OF_MEMORY;
    }

    void StartPlayer(PlayerSlot& slot, int tick) {
        if (fluid_player_seek(slot.player, tick) != FLUID_OK) {
            slot.error = MCIERR_OUTOFRANGE;
            return;
        }
        Hear(slot.player);
        if (fluid_player_play(slot.player) != FLUID_OK) slot.error = MCIERR_DEVICE_NOT_READY;
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

    void DeletePlayer(PlayerSlot* slot) {
        if (slot->player) {
            Halt(slot->player);
            if (heard_ == slot->player) heard_ = nullptr;
            delete_fluid_player(slot->player);
        }
        std::erase_if(players_, [slot](const auto& kept) { return kept.get() == slot; });
    }

    // Called by the players while the synthesiser renders.
    static int PassEventFrom(void* data, fluid_midi_event_t* event) {
        const auto& slot = *static_cast<const PlayerSlot*>(data);
        FluidEngine& engine = *slot.engine;
        return slot.player == engine.heard_ ? fluid_synth_handle_midi_event(engine.synth_, event)
                                            : FLUID_OK;
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
        const std::lock_guard lock(engine.lock_);
        engine.CarryOutOrders();
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
        for (const auto& slot : players_) {
            const int tick = slot->player ? fluid_player_get_current_tick(slot->player) : 0;
            slot->clock.store((std::uint64_t{slot->ordersDone} << 32) |
                                  static_cast<std::uint32_t>(std::max(tick, 0)),
                              std::memory_order_release);
        }
    }

    const FluidSynthOptions options_;
    const bool withOutput_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int fontId_ = FLUID_FAILED;
    std::string fontName_;  // of the trimmed font loaded, if one is
    PresetSelection loadedPresets_;
    std::vector<std::pair<const PlayerSlot*, PresetSelection>> openSongs_;
    fluid_audio_driver_t* output_ = nullptr;
    std::mutex lock_;
    fluid_player_t* heard_ = nullptr;  // the song the synthesiser's channels are set up for
    std::vector<std::unique_ptr<PlayerSlot>> players_;
    float appliedVolume_ = 1.0f;
    std::mutex ordersLock_;  // held only to queue an order or to take the queue
    std::vector<Order> orders_;
    std::vector<Order> carryingOut_;
};

namespace {

// One open song: its own player on the shared synthesiser, driven through the engine's orders.
class FluidSong final : public MciSong {
  public:
    FluidSong(std::shared_ptr<FluidEngine> engine, std::shared_ptr<const MidiSong> song)
        : engine_(std::move(engine)), song_(std::move(song)) {}

    ~FluidSong() override {
        if (!slot_) return;
        engine_->SongClosed(slot_);
        Send(FluidEngine::Order::Delete);
    }

    std::uint32_t Create() {
        const PresetSelection presets = PresetsSelectedBy(song_->programs);
        if (const std::uint32_t error = engine_->Prepare(presets); error != 0) return error;
        slot_ = engine_->NewSlot(song_, presets);
        Send(FluidEngine::Order::Load);
        return 0;
    }

    std::uint32_t Play(std::uint32_t fromMs) override {
        seekedTo_ = static_cast<int>(song_->TickAt(fromMs));
        Send(FluidEngine::Order::Play, seekedTo_);
        seekOrder_ = ordersSent_;
        return slot_->error.load();
    }

    std::uint32_t Stop() override {
        Send(FluidEngine::Order::Halt);
        return slot_->error.load();
    }

    std::uint32_t Position(std::uint32_t& ms) override {
        if (const std::uint32_t error = slot_->error.load(); error != 0) return error;
        const FluidEngine::PlayerSlot::Reading clock = slot_->Read();
        // Until the start has been rendered, the player still reports where it was.
        const int tick = clock.ordersDone < seekOrder_ ? seekedTo_ : clock.tick;
        ms = song_->MillisecondsAt(static_cast<std::uint64_t>(tick));
        return 0;
    }

  private:
    void Send(FluidEngine::Order::Kind kind, int tick = 0) {
        engine_->Post({kind, slot_, tick});
        ++ordersSent_;
    }

    std::shared_ptr<FluidEngine> engine_;
    std::shared_ptr<const MidiSong> song_;
    FluidEngine::PlayerSlot* slot_ = nullptr;  // the engine's; deleted by the Delete order
    std::uint32_t ordersSent_ = 0;
    std::uint32_t seekOrder_ = 0;  // the count of orders sent up to the last start
    int seekedTo_ = 0;
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

int OfflineFluidSynthSequencer::LoadedPresets() const {
    return engine_->LoadedPresets();
}

void OfflineFluidSynthSequencer::Render(std::span<float> left, std::span<float> right) {
    engine_->Render(left, right);
}

}  // namespace blok::fluid
