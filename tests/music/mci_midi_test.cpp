#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fake_sequencer.h"
#include "mci.h"
#include "mci_error.h"
#include "mci_midi.h"
#include "midi_bytes.h"

namespace blok {
namespace {

constexpr std::uint32_t kSongMs = 10'000;

class MciMidiTest : public ::testing::Test {
  protected:
    MciMidiTest() : dir_("mci-midi") {
        auto fake = std::make_unique<FakeSequencer>();
        sequencer_ = fake.get();
        mci_ = std::make_unique<Mci>(std::move(fake));
        testing::WriteFile(dir_.path() / "song.mid", testing::SongOfMilliseconds(kSongMs));
        testing::WriteFile(dir_.path() / "garbage.mid", {'M', 'T', 'h', 'd', 0, 0});
    }

    std::string File(const char* name) const { return (dir_.path() / name).string(); }
    FakeSequencer::State& device() { return sequencer_->state(); }
    void Advance(std::uint32_t ms) { sequencer_->Advance(ms); }

    testing::ScratchDir dir_;
    FakeSequencer* sequencer_ = nullptr;
    std::unique_ptr<Mci> mci_;
};

TEST_F(MciMidiTest, OpensTheSongAndKnowsItsLength) {
    MciMidi midi(*mci_, File("song.mid").c_str());
    EXPECT_NE(midi.wDeviceID, 0u);
    EXPECT_EQ(midi.dwError, 0u);
    EXPECT_EQ(midi.dwPosition, 0u);
    EXPECT_EQ(midi.dwLength, kSongMs);
    EXPECT_EQ(device().live.size(), 1u);
}

TEST_F(MciMidiTest, StopThenPlayResumesAndResetRestarts) {
    MciMidi midi(*mci_, File("song.mid").c_str());
    ASSERT_EQ(midi.Play(), 0);
    Advance(3000);
    EXPECT_EQ(midi.Stop(), 0);
    EXPECT_EQ(midi.dwPosition, 3000u);
    Advance(5000);  // a stopped song does not move
    ASSERT_EQ(midi.Play(), 0);
    Advance(1000);
    EXPECT_EQ(midi.Pause(), 0);
    EXPECT_EQ(midi.dwPosition, 4000u);
    midi.Reset();
    ASSERT_EQ(midi.Play(), 0);
    EXPECT_EQ(device().playedFrom, (std::vector<std::uint32_t>{0, 3000, 0}));
}

TEST_F(MciMidiTest, IsDoneExactlyFromTheLengthOn) {
    MciMidi midi(*mci_, File("song.mid").c_str());
    ASSERT_EQ(midi.Play(), 0);
    std::uint32_t done = 7;
    Advance(kSongMs - 1);
    EXPECT_EQ(midi.IsDone(&done), 0);
    EXPECT_EQ(done, 0u);
    Advance(1);
    EXPECT_EQ(midi.IsDone(&done), 0);
    EXPECT_EQ(done, 1u);
    Advance(2500);  // the sequencer's clock runs on past the end
    EXPECT_EQ(midi.IsDone(&done), 0);
    EXPECT_EQ(done, 1u);
    // Stopped past the end, the song can still be resumed (and is done at once).
    EXPECT_EQ(midi.Pause(), 0);
    EXPECT_EQ(midi.dwPosition, kSongMs);
    EXPECT_EQ(midi.Play(), 0);
}

TEST_F(MciMidiTest, PauseLeavesThePositionQueryResultInDwError) {
    MciMidi midi(*mci_, File("song.mid").c_str());
    ASSERT_EQ(midi.Play(), 0);
    Advance(2000);
    device().failStop = MCIERR_HARDWARE;
    EXPECT_EQ(midi.Pause(), 0) << "the stop failed, the position read did not";
    EXPECT_EQ(midi.dwError, 0u);
    EXPECT_EQ(midi.dwPosition, 2000u);

    device().failStop = 0;
    device().failPosition = MCIERR_DEVICE_NOT_READY;
    Advance(1000);
    EXPECT_EQ(midi.Stop(), static_cast<int>(MCIERR_DEVICE_NOT_READY));
    EXPECT_EQ(midi.dwError, MCIERR_DEVICE_NOT_READY);
    EXPECT_EQ(midi.dwPosition, 2000u) << "an unreadable position keeps the old resume point";
}

TEST_F(MciMidiTest, FailedOpenLeavesDeviceZeroAndPlayFails) {
    MciMidi missing(*mci_, File("absent.mid").c_str());
    EXPECT_EQ(missing.wDeviceID, 0u);
    EXPECT_EQ(missing.dwError, MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(missing.dwLength, 0u);
    EXPECT_NE(missing.Play(), 0);

    MciMidi garbage(*mci_, File("garbage.mid").c_str());
    EXPECT_EQ(garbage.wDeviceID, 0u);
    EXPECT_EQ(garbage.dwError, MCIERR_INVALID_FILE);

    device().failOpen = MCIERR_CANNOT_LOAD_DRIVER;
    MciMidi noDriver(*mci_, File("song.mid").c_str());
    EXPECT_EQ(noDriver.wDeviceID, 0u);
    EXPECT_EQ(noDriver.dwError, MCIERR_CANNOT_LOAD_DRIVER);
    EXPECT_TRUE(device().live.empty());
}

TEST_F(MciMidiTest, FailedPlayClosesTheDeviceAndLaterCommandsFail) {
    MciMidi midi(*mci_, File("song.mid").c_str());
    const std::uint32_t id = midi.wDeviceID;
    device().failPlay = MCIERR_HARDWARE;
    EXPECT_EQ(midi.Play(), static_cast<int>(MCIERR_HARDWARE));
    EXPECT_TRUE(device().live.empty()) << "closed at once";
    EXPECT_EQ(midi.wDeviceID, id);

    device().failPlay = 0;
    EXPECT_EQ(midi.Play(), static_cast<int>(MCIERR_INVALID_DEVICE_ID));
    std::uint32_t done = 0;
    EXPECT_EQ(midi.IsDone(&done), static_cast<int>(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(done, 1u) << "a song that can no longer be asked counts as over";
}

TEST_F(MciMidiTest, GetErrorStringReadsOnlyTheLow16Bits) {
    MciMidi midi(*mci_, File("absent.mid").c_str());
    midi.dwError = (1u << 16) | MCIERR_FILE_NOT_FOUND;
    EXPECT_STREQ(midi.GetErrorString(), "The requested file was not found.");
    midi.dwError = 0;
    EXPECT_STREQ(midi.GetErrorString(), "Unknown error code.");
}

TEST_F(MciMidiTest, DestructionClosesTheSong) {
    {
        MciMidi midi(*mci_, File("song.mid").c_str());
        ASSERT_EQ(midi.Play(), 0);
        EXPECT_EQ(device().live.size(), 1u);
    }
    EXPECT_TRUE(device().live.empty());
}

TEST_F(MciMidiTest, CommandLayerRejectsBadRequests) {
    std::uint32_t id = 0;
    EXPECT_EQ(mci_->Open("waveaudio", File("song.mid"), id), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(mci_->Open("sequencer", "", id), MCIERR_FILENAME_REQUIRED);
    ASSERT_EQ(mci_->Open("Sequencer", File("song.mid"), id), 0u);
    EXPECT_EQ(mci_->Play(id, kSongMs + 1), MCIERR_OUTOFRANGE);
    EXPECT_EQ(mci_->Play(id, kSongMs), 0u);
    EXPECT_EQ(mci_->Close(id), 0u);
    EXPECT_EQ(mci_->Close(id), MCIERR_INVALID_DEVICE_ID);
    std::uint32_t next = 0;
    ASSERT_EQ(mci_->Open("sequencer", File("song.mid"), next), 0u);
    EXPECT_NE(next, id) << "a stale id must not reach the next song";
    std::uint32_t value = 0;
    EXPECT_EQ(mci_->Status(id, MciStatusItem::Position, value), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(mci_->Stop(0), MCIERR_INVALID_DEVICE_ID);
}

}  // namespace
}  // namespace blok
