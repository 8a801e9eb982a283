#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fluidsynth_sequencer.h"
#include "mci_error.h"
#include "mci_midi.h"
#include "midi_bytes.h"

namespace blok {
namespace {

// The shortest of the shipped songs keeps the render quick.
const std::string kSong = std::string(BLOK_SONG_DIR) + "/15.mid";

class OfflineRender : public ::testing::Test {
protected:
    OfflineRender() {
        auto device = std::make_unique<OfflineFluidSynthSequencer>();
        renderer_ = device.get();
        mci_ = std::make_unique<Mci>(std::move(device));
    }

    // Renders `ms` milliseconds and returns the mean square of the samples.
    double Render(std::uint32_t ms) {
        const auto frames = static_cast<std::size_t>(renderer_->sampleRate() * ms / 1000.0);
        std::vector<float> left(frames), right(frames);
        renderer_->Render(left, right);
        double sum = 0;
        for (std::size_t i = 0; i < frames; ++i) sum += double{left[i]} * left[i] + double{right[i]} * right[i];
        return frames ? sum / (2.0 * static_cast<double>(frames)) : 0.0;
    }

    OfflineFluidSynthSequencer* renderer_ = nullptr;
    std::unique_ptr<Mci> mci_;
};

TEST_F(OfflineRender, ASongSoundsForAsLongAsTheDeviceReports) {
    MciMidi song(*mci_, 0, kSong.c_str());
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
    const double rmsDb = 10.0 * std::log10(sumSquares / (renderedMs / kBlockMs) + 1e-20);
    RecordProperty("rendered_ms", static_cast<int>(renderedMs));
    RecordProperty("length_ms", static_cast<int>(song.dwLength));
    RecordProperty("rms_centi_db", static_cast<int>(rmsDb * 100));
    EXPECT_EQ(done, 1u);
    EXPECT_NEAR(renderedMs, song.dwLength, 2 * kBlockMs);
    EXPECT_GT(rmsDb, -35.0) << "audible, not silence";
    EXPECT_LT(rmsDb, -10.0) << "background music, not a blast";
}

TEST_F(OfflineRender, StopKeepsThePlaceResumeGoesOnAndResetRestarts) {
    MciMidi song(*mci_, 0, kSong.c_str());
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
    testing::Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    testing::Bytes garbage(4096);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 7919u >> 3);
    testing::Bytes hugeTrack = good;
    hugeTrack[18] = hugeTrack[19] = hugeTrack[20] = hugeTrack[21] = 0xFF;

    for (const auto& [name, bytes] : {std::pair{"truncated.mid", truncated}, std::pair{"garbage.mid", garbage},
                                      std::pair{"huge.mid", hugeTrack}}) {
        testing::WriteFile(dir.path() / name, bytes);
        MciMidi song(*mci_, 0, (dir.path() / name).string().c_str());
        EXPECT_EQ(song.dwError, MCIERR_INVALID_FILE) << name;
        EXPECT_NE(song.Play(), 0) << name;
    }
}

TEST(FluidSynthSequencer, WithoutSoundFontTheDriverDoesNotLoad) {
    FluidSynthOptions options;
    options.soundFont = "/nonexistent/blokfall.sf2";
    Mci mci(std::make_unique<OfflineFluidSynthSequencer>(options));
    MciMidi song(mci, 0, kSong.c_str());
    EXPECT_EQ(song.dwError, MCIERR_CANNOT_LOAD_DRIVER);
    EXPECT_EQ(song.wDeviceID, 0u);
}

// With sound hardware the song opens and plays; without it the open must fail with a hardware
// error instead of hanging. How long it takes is printed by blokfall-song-check --time-open.
TEST(FluidSynthSequencer, OpeningWithAudioOutputEitherPlaysOrFailsCleanly) {
    Mci mci(MakeFluidSynthSequencer());
    const auto start = std::chrono::steady_clock::now();
    MciMidi song(mci, 0, kSong.c_str());
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    RecordProperty("open_microseconds", static_cast<int>(took.count() * 1000));
    if (song.dwError == 0) {
        EXPECT_EQ(song.Play(), 0);
        EXPECT_EQ(song.Stop(), 0);
    } else {
        EXPECT_EQ(song.dwError, MCIERR_HARDWARE);
        EXPECT_NE(song.Play(), 0);
    }
}

}  // namespace
}  // namespace blok
