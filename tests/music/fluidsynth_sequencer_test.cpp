#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include "fluidsynth_sequencer.h"
#include "mci_error.h"
#include "mci_midi.h"
#include "midi_bytes.h"

namespace blok::fluid {
namespace {

// The shortest of the shipped songs keeps the render quick.
const std::string kSong = std::string(BLOK_SONG_DIR) + "/15.mid";
const std::string kOtherSong = std::string(BLOK_SONG_DIR) + "/1.mid";

double Decibels(double meanSquare) {
    return 10.0 * std::log10(meanSquare + 1e-20);
}

// One organ note held for ten seconds: it keeps sounding at one level unless something cuts it.
testing::Bytes HeldOrganNote() {
    testing::Bytes events;
    testing::AppendTempo(events, 0, 1'000'000);
    testing::Append(events, {0x00, 0xC0, 19, 0x00, 0x90, 60, 100});
    testing::AppendVarLen(events, 10'000);
    testing::Append(events, {0x80, 60, 0});
    testing::AppendEnd(events, 0);
    testing::Bytes file = testing::Header(0, 1, 1000);
    testing::AppendTrack(file, events);
    return file;
}

class OfflineRender : public ::testing::Test {
  protected:
    OfflineRender() {
        FluidSynthOptions options;
        options.volume = volume_;
        auto device = std::make_unique<OfflineFluidSynthSequencer>(options);
        renderer_ = device.get();
        mci_ = std::make_unique<Mci>(std::move(device));
    }

    // Renders `ms` milliseconds and returns the mean square of the samples.
    double Render(std::uint32_t ms) {
        const auto frames = static_cast<std::size_t>(renderer_->sampleRate() * ms / 1000.0);
        std::vector<float> left(frames), right(frames);
        renderer_->Render(left, right);
        double sum = 0;
        for (std::size_t i = 0; i < frames; ++i)
            sum += double{left[i]} * left[i] + double{right[i]} * right[i];
        return frames ? sum / (2.0 * static_cast<double>(frames)) : 0.0;
    }

    std::shared_ptr<std::atomic<float>> volume_ = std::make_shared<std::atomic<float>>(1.0f);
    OfflineFluidSynthSequencer* renderer_ = nullptr;
    std::unique_ptr<Mci> mci_;
};

TEST_F(OfflineRender, ASongSoundsForAsLongAsTheDeviceReports) {
    MciMidi song(*mci_, kSong.c_str());
    ASSERT_EQ(song.dwError, 0u) << song.GetErrorString();
    ASSERT_EQ(song.Play(), 0);
    constexpr std::uint32_t kBlockMs = 50;
    double sumSquares = 0;
    std::uint32_t renderedMs = 0;
    std::uint32_t done = 0;
    while (song.IsDone(&done) == 0 && done == 0 && renderedMs < 200'000) {
        sumSquares += Render(kBlockMs);
        renderedMs += kBlockMs;
    }
    const double rmsDb = Decibels(sumSquares / (renderedMs / kBlockMs));
    RecordProperty("rendered_ms", static_cast<int>(renderedMs));
    RecordProperty("length_ms", static_cast<int>(song.dwLength));
    RecordProperty("rms_centi_db", static_cast<int>(rmsDb * 100));
    EXPECT_EQ(done, 1u);
    EXPECT_NEAR(renderedMs, song.dwLength, 2 * kBlockMs);
    EXPECT_GT(rmsDb, -35.0) << "audible, not silence";
    EXPECT_LT(rmsDb, -10.0) << "background music, not a blast";
}

TEST_F(OfflineRender, StopKeepsThePlaceResumeGoesOnAndResetRestarts) {
    MciMidi song(*mci_, kSong.c_str());
    ASSERT_EQ(song.Play(), 0);
    const double playing = Render(2000);
    ASSERT_EQ(song.Pause(), 0);
    EXPECT_NEAR(song.dwPosition, 2000, 40);
    const std::uint32_t stoppedAt = song.dwPosition;
    Render(300);  // the notes ring out
    EXPECT_LT(Render(500), playing / 1000) << "a stopped song falls silent (30 dB down)";
    std::uint32_t position = 0;
    ASSERT_EQ(song.GetPosition(&position), 0);
    EXPECT_EQ(position, stoppedAt);

    ASSERT_EQ(song.Play(), 0);
    Render(1000);
    ASSERT_EQ(song.GetPosition(&position), 0);
    EXPECT_NEAR(position, stoppedAt + 1000, 40);

    ASSERT_EQ(song.Stop(), 0);
    song.Reset();
    ASSERT_EQ(song.Play(), 0);
    ASSERT_EQ(song.GetPosition(&position), 0);
    EXPECT_LT(position, 40u) << "the restart shows before the next samples are rendered";
    std::uint32_t done = 1;
    EXPECT_EQ(song.IsDone(&done), 0);
    EXPECT_EQ(done, 0u);
}

TEST_F(OfflineRender, DamagedFilesAreRefusedWithAnErrorNumber) {
    testing::ScratchDir dir("fluid-damaged");
    testing::Bytes good;
    {
        MidiSong parsed;
        ASSERT_EQ(LoadMidiFile(kSong, parsed), 0u);
        good = parsed.bytes;
    }
    testing::Bytes truncated(good.begin(),
                             good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    testing::Bytes garbage(4096);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<std::uint8_t>(i * 7919u >> 3);
    testing::Bytes hugeTrack = good;
    hugeTrack[18] = hugeTrack[19] = hugeTrack[20] = hugeTrack[21] = 0xFF;

    for (const auto& [name, bytes] :
         {std::pair{"truncated.mid", truncated}, std::pair{"garbage.mid", garbage},
          std::pair{"huge.mid", hugeTrack}}) {
        testing::WriteFile(dir.path() / name, bytes);
        MciMidi song(*mci_, (dir.path() / name).string().c_str());
        EXPECT_EQ(song.dwError, MCIERR_INVALID_FILE) << name;
        EXPECT_NE(song.Play(), 0) << name;
    }
}

TEST_F(OfflineRender, SongsOpenedInTurnBothSoundThroughTheSharedSynthesiser) {
    for (const std::string& file : {kSong, kOtherSong, kSong}) {
        MciMidi song(*mci_, file.c_str());
        ASSERT_EQ(song.dwError, 0u) << file << ": " << song.GetErrorString();
        ASSERT_EQ(song.Play(), 0) << file;
        EXPECT_GT(Decibels(Render(2000)), -35.0) << file << " is audible";
        std::uint32_t position = 0;
        ASSERT_EQ(song.GetPosition(&position), 0);
        EXPECT_NEAR(position, 2000, 40) << file << " starts at its beginning";
        ASSERT_EQ(song.Stop(), 0);
    }
}

TEST_F(OfflineRender, TheSongHeardPlaysOnWhileTheOneBeforeItIsClosed) {
    testing::ScratchDir dir("fluid-held");
    testing::WriteFile(dir.path() / "held.mid", HeldOrganNote());
    auto before = std::make_unique<MciMidi>(*mci_, kSong.c_str());
    ASSERT_EQ(before->Play(), 0);
    Render(1000);

    MciMidi held(*mci_, (dir.path() / "held.mid").string().c_str());
    ASSERT_EQ(held.dwError, 0u) << held.GetErrorString();
    ASSERT_EQ(held.Play(), 0);
    Render(300);  // the note has settled
    const double heldLevel = Render(300);
    ASSERT_GT(Decibels(heldLevel), -40.0);

    ASSERT_EQ(before->Stop(), 0);
    EXPECT_NEAR(before->dwPosition, 1000, 40)
        << "the song heard before halted when the next one started";
    before.reset();
    EXPECT_GT(Render(300), heldLevel / 2) << "the held note sounds on at its level";
    std::uint32_t position = 0;
    ASSERT_EQ(held.GetPosition(&position), 0);
    EXPECT_NEAR(position, 900, 40);
}

// Closing queues the player's deletion while the output's thread renders on.
TEST_F(OfflineRender, AClosedSongFallsSilentAndTheDeviceFreesWhatIsStillClosing) {
    testing::ScratchDir dir("fluid-close");
    testing::WriteFile(dir.path() / "held.mid", HeldOrganNote());
    auto held = std::make_unique<MciMidi>(*mci_, (dir.path() / "held.mid").string().c_str());
    ASSERT_EQ(held->Play(), 0);
    Render(300);  // the note has settled
    const double heldLevel = Render(300);
    ASSERT_GT(Decibels(heldLevel), -40.0);

    std::atomic<bool> rendering{true};
    std::thread output([&] {
        while (rendering) Render(20);
    });
    held.reset();
    rendering = false;
    output.join();
    Render(300);  // the player goes, and the released note fades
    EXPECT_LT(Render(300), heldLevel / 1e4) << "the closed song's note was released";

    // Closed just before the device goes: the device deletes its player (checked for leaks
    // under the sanitizers).
    MciMidi last(*mci_, kSong.c_str());
    ASSERT_EQ(last.Play(), 0);
    Render(100);
}

// The window's thread starts, halts and closes songs while the synthesiser is busy with a long
// block (as with reading a long song): it queues its orders and never waits for the block.
TEST_F(OfflineRender, SongsAreCommandedWithoutWaitingForTheBlockBeingRendered) {
    MciMidi first(*mci_, kSong.c_str());
    ASSERT_EQ(first.Play(), 0);
    std::vector<float> left(static_cast<std::size_t>(renderer_->sampleRate()) * 60), right(left);
    std::atomic<bool> started{false};
    std::atomic<bool> rendered{false};
    std::thread output([&] {
        started = true;
        renderer_->Render(left, right);
        rendered = true;
    });
    while (!started) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // well into the block
    {
        MciMidi second(*mci_, kOtherSong.c_str());
        EXPECT_EQ(second.Play(), 0);
        EXPECT_EQ(first.Stop(), 0);
        std::uint32_t done = 1;
        EXPECT_EQ(second.IsDone(&done), 0);
        EXPECT_EQ(done, 0u) << "a started song reads as at its start until it is rendered";
    }
    EXPECT_FALSE(rendered) << "a command waited for the synthesiser";
    output.join();
    Render(100);  // the orders queued meanwhile are carried out
}

TEST_F(OfflineRender, TheVolumeScalesTheSoundWhileItPlaysAndZeroIsSilence) {
    testing::ScratchDir dir("fluid-volume");
    testing::WriteFile(dir.path() / "held.mid", HeldOrganNote());
    MciMidi held(*mci_, (dir.path() / "held.mid").string().c_str());
    ASSERT_EQ(held.Play(), 0);
    Render(300);  // the note has settled
    const double full = Render(300);
    ASSERT_GT(Decibels(full), -40.0);
    volume_->store(0.5f);
    EXPECT_NEAR(Decibels(Render(300)), Decibels(full) - 6.0, 1.0) << "half the gain, 6 dB down";
    volume_->store(1.0f);
    EXPECT_NEAR(Decibels(Render(300)), Decibels(full), 1.0);
    volume_->store(0.0f);
    Render(300);  // the gain glides down
    EXPECT_LT(Render(300), full / 1e4) << "muted: 40 dB down and falling";
}

struct Choice {
    std::uint8_t channel, bank, program, key;
};
constexpr std::uint8_t kNoProgramChange = 128;

// Each choice in turn: a bank select, a program change and a note of 150 ms on its channel.
testing::Bytes SongChoosing(std::initializer_list<Choice> choices) {
    testing::Bytes events;
    testing::AppendTempo(events, 0, 1'000'000);
    for (const Choice& c : choices) {
        testing::Append(events, {0x00, static_cast<std::uint8_t>(0xB0 | c.channel), 0, c.bank});
        if (c.program != kNoProgramChange)
            testing::Append(events, {0x00, static_cast<std::uint8_t>(0xC0 | c.channel), c.program});
        testing::Append(events, {0x00, static_cast<std::uint8_t>(0x90 | c.channel), c.key, 100});
        testing::AppendVarLen(events, 150);
        testing::Append(events, {static_cast<std::uint8_t>(0x80 | c.channel), c.key, 0});
    }
    testing::AppendEnd(events, 300);
    testing::Bytes file = testing::Header(0, 1, 1000);
    testing::AppendTrack(file, events);
    return file;
}

// Plays the songs one after the other on one device, as the playlist does, and returns what
// was heard and how many presets were loaded after each song.
std::vector<float> PlayInTurn(const std::vector<std::string>& files, bool wholeSoundFont,
                              std::vector<int>& presetsLoaded) {
    FluidSynthOptions options;
    options.wholeSoundFont = wholeSoundFont;
    auto device = std::make_unique<OfflineFluidSynthSequencer>(options);
    OfflineFluidSynthSequencer& renderer = *device;
    Mci mci(std::move(device));
    std::vector<float> heard;
    for (const std::string& file : files) {
        MciMidi song(mci, file.c_str());
        EXPECT_EQ(song.Play(), 0) << file;
        std::vector<float> left(static_cast<std::size_t>(renderer.sampleRate())), right(left);
        renderer.Render(left, right);
        heard.insert(heard.end(), left.begin(), left.end());
        heard.insert(heard.end(), right.begin(), right.end());
        presetsLoaded.push_back(renderer.LoadedPresets());
    }
    return heard;
}

// The font holds only what the open songs can select, and sounds as the whole font: banks the
// font lacks fall back to bank 0, missing drum kits to the standard kit, and the next song
// that needs other presets gets them.
TEST(TrimmedSoundFont, SongsSoundAsWithTheWholeFontAndTheFontFollowsTheSongs) {
    testing::ScratchDir dir("fluid-presets");
    const std::string first = (dir.path() / "first.mid").string();
    const std::string second = (dir.path() / "second.mid").string();
    testing::WriteFile(first, SongChoosing({{0, 0, 19, 60}, {9, 0, 0, 38}, {1, 8, 73, 72}}));
    testing::WriteFile(second, SongChoosing({{0, 0, 40, 67},
                                             {9, 0, 25, 40},
                                             {9, 0, 99, 42},
                                             {2, 0, kNoProgramChange, 48},
                                             {0, 0, 19, 64}}));

    std::vector<int> trimmedPresets, wholePresets;
    const std::vector<float> trimmed = PlayInTurn({first, second}, false, trimmedPresets);
    const std::vector<float> whole = PlayInTurn({first, second}, true, wholePresets);
    ASSERT_EQ(trimmed.size(), whole.size());
    EXPECT_TRUE(trimmed == whole) << "the trimmed font sounds different";
    EXPECT_GT(Decibels(std::inner_product(trimmed.begin(), trimmed.end(), trimmed.begin(), 0.0) /
                       static_cast<double>(trimmed.size())),
              -50.0);
    // The organ, the standard kit, the flute; then the violin, a kit and the standard kit for
    // the missing one, the piano of the channel that chooses nothing, the organ.
    ASSERT_EQ(trimmedPresets.size(), 2u);
    EXPECT_GE(trimmedPresets[0], 3);
    EXPECT_GT(trimmedPresets[1], trimmedPresets[0]);
    EXPECT_LT(trimmedPresets[1], wholePresets[1] / 4);
}

// A song opened while another plays loads the font again with the presets of both: the one
// playing goes on exactly as it would have.
TEST(TrimmedSoundFont, ASongPlaysOnUnchangedWhileTheFontGrowsForTheNext) {
    testing::ScratchDir dir("fluid-grow");
    const std::string next = (dir.path() / "next.mid").string();
    testing::WriteFile(next, SongChoosing({{0, 0, 19, 60}, {9, 0, 25, 38}}));
    auto playWhile = [&](bool openingNext, std::vector<int>& presets) {
        auto device = std::make_unique<OfflineFluidSynthSequencer>();
        OfflineFluidSynthSequencer& renderer = *device;
        Mci mci(std::move(device));
        MciMidi playing(mci, kSong.c_str());
        EXPECT_EQ(playing.Play(), 0);
        std::vector<float> left(static_cast<std::size_t>(renderer.sampleRate()) * 3), right(left);
        const std::size_t firstSecond = left.size() / 3;
        renderer.Render(std::span(left).first(firstSecond), std::span(right).first(firstSecond));
        presets.push_back(renderer.LoadedPresets());
        std::optional<MciMidi> opened;
        if (openingNext) opened.emplace(mci, next.c_str());
        presets.push_back(renderer.LoadedPresets());
        renderer.Render(std::span(left).subspan(firstSecond),
                        std::span(right).subspan(firstSecond));
        left.insert(left.end(), right.begin(), right.end());
        return left;
    };
    std::vector<int> alone, withNext;
    EXPECT_TRUE(playWhile(false, alone) == playWhile(true, withNext));
    EXPECT_GT(withNext[1], withNext[0]) << "the font grew";
}

TEST(FluidSynthSequencer, WithoutSoundFontTheDriverDoesNotLoad) {
    FluidSynthOptions options;
    options.soundFont = "/nonexistent/blokfall.sf2";
    Mci mci(std::make_unique<OfflineFluidSynthSequencer>(options));
    MciMidi song(mci, kSong.c_str());
    EXPECT_EQ(song.dwError, MCIERR_CANNOT_LOAD_DRIVER);
    EXPECT_EQ(song.wDeviceID, 0u);
}

TEST(AudioDriverOrder, TheSoundServersOutputComesFirstAndAlsaIsTheLastResort) {
    const std::vector<std::string> offered = {"jack", "alsa", "oss", "pulseaudio", "sdl2", "file"};
    using Order = std::vector<std::string>;
    EXPECT_EQ(AudioDriverOrder({}, offered), (Order{"alsa"}));
    EXPECT_EQ(AudioDriverOrder({.pulseAudio = true}, offered), (Order{"pulseaudio", "alsa"}));
    EXPECT_EQ(AudioDriverOrder({.pulseAudio = false, .pipeWire = true}, offered), (Order{"alsa"}))
        << "a server without its output in the synthesiser";
    EXPECT_EQ(AudioDriverOrder({.pulseAudio = true, .pipeWire = true},
                               {"alsa", "pipewire", "pulseaudio"}),
              (Order{"pulseaudio", "pipewire", "alsa"}));
    EXPECT_EQ(AudioDriverOrder({.pulseAudio = true}, {"file"}), Order{});
}

// Sets environment variables for one scope and restores them after.
class ScopedEnvironment {
  public:
    void Set(const char* name, const std::string& value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        ::setenv(name, value.c_str(), 1);
    }
    void Unset(const char* name) {
        Set(name, "");
        ::unsetenv(name);
    }
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second)
                ::setenv(it->first, it->second->c_str(), 1);
            else
                ::unsetenv(it->first);
        }
    }

  private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

void ListenOn(const std::filesystem::path& path, int& fd) {
    std::filesystem::create_directories(path.parent_path());
    fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.string().size(), sizeof(address.sun_path));
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
}

TEST(RunningSoundServers, FoundByTheirSocketsInTheRuntimeFolderOrNamedInTheEnvironment) {
    testing::ScratchDir runtime("runtime");
    ScopedEnvironment environment;
    for (const char* name :
         {"PULSE_SERVER", "PULSE_RUNTIME_PATH", "PIPEWIRE_REMOTE", "PIPEWIRE_RUNTIME_DIR"})
        environment.Unset(name);
    environment.Set("XDG_RUNTIME_DIR", runtime.path().string());
    std::filesystem::create_directories(runtime.path() / "pulse");
    testing::WriteFile(runtime.path() / "pulse" / "native", {0});  // a left-over file, no server
    EXPECT_FALSE(RunningSoundServers().pulseAudio);
    EXPECT_FALSE(RunningSoundServers().pipeWire);

    std::filesystem::remove(runtime.path() / "pulse" / "native");
    int pulse = -1, pipeWire = -1;
    ListenOn(runtime.path() / "pulse" / "native", pulse);
    ListenOn(runtime.path() / "pipewire-0", pipeWire);
    EXPECT_TRUE(RunningSoundServers().pulseAudio);
    EXPECT_TRUE(RunningSoundServers().pipeWire);
    ::close(pulse);
    ::close(pipeWire);

    environment.Set("XDG_RUNTIME_DIR", (runtime.path() / "empty").string());
    environment.Set("PULSE_SERVER", "tcp:localhost");
    EXPECT_TRUE(RunningSoundServers().pulseAudio);
    EXPECT_FALSE(RunningSoundServers().pipeWire);
}

// The tests' ALSA configuration (see CMakeLists.txt) gives a sound card that swallows what it
// is given, so the synthesiser renders on its own audio thread here too.
class FluidSynthOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* soundCard = std::getenv("ALSA_CONFIG_PATH");
        if (!soundCard) {
            GTEST_SKIP() << "run through CTest for the tests' sound card";
        }
        soundCard_ = soundCard;
    }

    // Waits until the song's clock has passed `ms`; false after ten seconds.
    static bool PlaysPast(Mci& mci, std::uint32_t id, std::uint32_t ms) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::uint32_t position = 0;
        while (mci.Status(id, MciStatusItem::Position, position) == 0 && position <= ms) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return position > ms;
    }

    std::string soundCard_;
};

TEST_F(FluidSynthOutput, SongsComeAndGoWhileTheOutputPlays) {
    Mci mci(MakeFluidSynthSequencer());
    std::uint32_t previous = 0;
    for (int change = 0; change < 12; ++change) {
        // As the game does it (the old song ends before the next opens), and overlapping.
        const bool overlap = change % 2 == 1;
        if (previous && !overlap) {
            ASSERT_EQ(mci.Stop(previous), 0u);
            ASSERT_EQ(mci.Close(previous), 0u);
        }
        std::uint32_t id = 0;
        ASSERT_EQ(mci.Open(kSequencerDeviceType, change % 3 ? kSong : kOtherSong, id), 0u);
        ASSERT_EQ(mci.Play(id, 0), 0u);
        if (previous && overlap) {
            ASSERT_EQ(mci.Close(previous), 0u);
        }
        EXPECT_TRUE(PlaysPast(mci, id, 50)) << "change " << change;
        previous = id;
    }
}

// Short periods would wake the audio thread and the sound server hundreds of times a second.
TEST_F(FluidSynthOutput, TheOutputOpensWithLongPeriods) {
    auto device = MakeFluidSynthSequencer();
    FluidSynthSequencer& sequencer = *device;
    Mci mci(std::move(device));
    EXPECT_FALSE(sequencer.OutputSettings()) << "nothing opened yet";
    MciMidi song(mci, kSong.c_str());
    ASSERT_EQ(song.dwError, 0u) << song.GetErrorString();
    const std::optional<AudioOutputSettings> opened = sequencer.OutputSettings();
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->driver, "alsa") << "the tests' sound servers do not exist";
    EXPECT_EQ(opened->periodFrames, 8192);
    EXPECT_EQ(opened->periods, 2);
}

// The sound server may start after the game: the first open fails, a later one finds it.
TEST_F(FluidSynthOutput, AMissingOutputIsLookedForAgainAtTheNextOpen) {
    Mci mci(MakeFluidSynthSequencer());
    ::setenv("ALSA_CONFIG_PATH", "/nonexistent/blokfall-alsa.conf", 1);
    MciMidi without(mci, kSong.c_str());
    ::setenv("ALSA_CONFIG_PATH", soundCard_.c_str(), 1);
    EXPECT_EQ(without.dwError, MCIERR_HARDWARE);

    MciMidi with(mci, kSong.c_str());
    ASSERT_EQ(with.dwError, 0u) << with.GetErrorString();
    ASSERT_EQ(with.Play(), 0);
    EXPECT_TRUE(PlaysPast(mci, with.wDeviceID, 50));
}

}  // namespace
}  // namespace blok::fluid
