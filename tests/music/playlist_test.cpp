#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <numeric>
#include <set>
#include <string>

#include "fake_sequencer.h"
#include "mci_error.h"
#include "midi_bytes.h"
#include "playlist.h"

namespace blok {
namespace {

namespace fs = std::filesystem;

// Song n lasts 60 s + n ms, so that the position tells which song plays.
std::uint32_t SongMs(int index) {
    return 60'000u + static_cast<std::uint32_t>(index);
}

int FlagsSet(const Playlist& playlist) {
    return static_cast<int>(
        std::count(playlist.stillPlayed.begin(), playlist.stillPlayed.begin() + kSongCount, 1));
}

// The game's folder with its music folder, and one run of the game's music.
class PlaylistTest : public ::testing::Test {
  protected:
    PlaylistTest() : dir_("playlist") {
        for (int i = 0; i < kSongCount; ++i) WriteSong(i);
        StartRun();
    }
    ~PlaylistTest() override { playlist_.reset(); }

    void WriteSong(int index) {
        testing::WriteFile(dir_.path() / "music" / (std::to_string(index + 1) + ".mid"),
                           testing::SongOfMilliseconds(SongMs(index)));
    }

    // A new run of the game: fresh device and playlist, the played flags carried over.
    void StartRun() {
        const auto carried = playlist_ ? playlist_->stillPlayed : std::array<int, kMusicRows>{};
        playlist_.reset();
        auto fake = std::make_unique<FakeSequencer>();
        sequencer_ = fake.get();
        mci_ = std::make_unique<Mci>(std::move(fake));
        playlist_ = std::make_unique<Playlist>(*mci_, random_, dir_.path());
        playlist_->stillPlayed = carried;
        playlist_->musicInit();
    }

    // Lets the current song play to its end and polls, as the ten-second timer does.
    void FinishSongAndPoll() {
        sequencer_->Advance(SongMs(playlist_->akt));
        playlist_->letMusicPlay();
    }

    FakeSequencer::State& device() { return sequencer_->state(); }

    testing::ScratchDir dir_;
    Random random_{12345};
    FakeSequencer* sequencer_ = nullptr;
    std::unique_ptr<Mci> mci_;
    std::unique_ptr<Playlist> playlist_;
};

TEST_F(PlaylistTest, FirstPollChoosesAndStartsASongWhateverTheFlagsHold) {
    Playlist& p = *playlist_;
    EXPECT_EQ(p.akt, -1);
    EXPECT_TRUE(p.CurrentCaption().empty());
    std::fill(p.stillPlayed.begin(), p.stillPlayed.begin() + kSongCount, 1);
    p.letMusicPlay();
    ASSERT_GE(p.akt, 0);
    ASSERT_LT(p.akt, kSongCount);
    EXPECT_EQ(FlagsSet(p), 1) << "a full cycle was cleared first";
    EXPECT_EQ(p.stillPlayed[static_cast<std::size_t>(p.akt)], 1);
    EXPECT_EQ(p.NOMUSIC, 0);
    ASSERT_TRUE(p.music);
    EXPECT_EQ(p.music->dwLength, SongMs(p.akt)) << "the file of index akt is music/<akt+1>.mid";
    EXPECT_EQ(device().playedFrom, std::vector<std::uint32_t>{0});
    EXPECT_EQ(p.CurrentCaption(), musicInfo[static_cast<std::size_t>(p.akt)]);
}

TEST_F(PlaylistTest, AnUnfinishedSongIsLeftAloneAndAFinishedOneReplaced) {
    Playlist& p = *playlist_;
    p.letMusicPlay();
    const int first = p.akt;
    sequencer_->Advance(SongMs(first) - 1);
    p.letMusicPlay();
    EXPECT_EQ(p.akt, first);
    EXPECT_EQ(p.test, 0u);
    sequencer_->Advance(1);
    p.letMusicPlay();
    EXPECT_NE(p.akt, first);
    EXPECT_EQ(device().live.size(), 1u) << "the finished song was closed";
    EXPECT_EQ(device().live.front()->playing(), true);
}

TEST_F(PlaylistTest, NoSongRepeatsWithinACycleAndTheNextCycleStartsAfresh) {
    Playlist& p = *playlist_;
    std::set<int> heard;
    p.letMusicPlay();
    heard.insert(p.akt);
    for (int i = 1; i < kSongCount; ++i) {
        FinishSongAndPoll();
        EXPECT_TRUE(heard.insert(p.akt).second) << "song " << p.akt << " again";
    }
    EXPECT_EQ(FlagsSet(p), kSongCount);
    FinishSongAndPoll();
    EXPECT_EQ(FlagsSet(p), 1);
}

TEST_F(PlaylistTest, WithEighteenPlayedTheRemainingOneComesNext) {
    Playlist& p = *playlist_;
    std::fill(p.stillPlayed.begin(), p.stillPlayed.begin() + kSongCount, 1);
    p.stillPlayed[7] = 0;
    p.letMusicPlay();
    EXPECT_EQ(p.akt, 7);
    EXPECT_EQ(FlagsSet(p), kSongCount);
}

TEST_F(PlaylistTest, TheCycleGoesOnAcrossRuns) {
    std::set<int> heard;
    playlist_->letMusicPlay();
    heard.insert(playlist_->akt);
    for (int i = 0; i < 4; ++i) {
        FinishSongAndPoll();
        heard.insert(playlist_->akt);
    }
    playlist_->musicKill();
    StartRun();
    playlist_->letMusicPlay();
    for (int i = 0; i < kSongCount - 5; ++i) {
        EXPECT_TRUE(heard.insert(playlist_->akt).second) << "song " << playlist_->akt << " again";
        if (i + 1 < kSongCount - 5) FinishSongAndPoll();
    }
    EXPECT_EQ(static_cast<int>(heard.size()), kSongCount);
}

TEST_F(PlaylistTest, AMissingSongSilencesTheMusicUntilASkip) {
    for (int i = 0; i < kSongCount; ++i)
        fs::remove(dir_.path() / "music" / (std::to_string(i + 1) + ".mid"));
    Playlist& p = *playlist_;
    p.letMusicPlay();
    EXPECT_EQ(p.NOMUSIC, 1);
    ASSERT_TRUE(p.music) << "the failed song's wrapper stays";
    EXPECT_EQ(p.music->wDeviceID, 0u);
    const int failed = p.akt;
    for (int poll = 0; poll < 5; ++poll) p.letMusicPlay();
    EXPECT_EQ(p.akt, failed) << "no further song is tried";
    EXPECT_EQ(FlagsSet(p), 1);

    for (int i = 0; i < kSongCount; ++i) WriteSong(i);
    p.skipSong();
    EXPECT_EQ(p.NOMUSIC, 0);
    EXPECT_NE(p.akt, failed);
    EXPECT_EQ(device().playedFrom, std::vector<std::uint32_t>{0});
}

TEST_F(PlaylistTest, PauseAndResumeKeepTheSongAndItsPlace) {
    PlaylistMusic control(*playlist_);
    control.musicInit();
    control.letMusicPlay();
    const int song = playlist_->akt;
    sequencer_->Advance(5000);
    // What the menu does for "stop": pause only while playing, so choosing it twice is harmless.
    for (int choice = 0; choice < 2; ++choice)
        if (!control.Paused()) control.musicPause();
    EXPECT_TRUE(control.Paused());
    EXPECT_EQ(device().stops, 1);
    sequencer_->Advance(60'000);
    control.letMusicPlay();  // the poll finds a stopped song that is not at its end
    EXPECT_EQ(playlist_->akt, song);
    for (int choice = 0; choice < 2; ++choice)
        if (control.Paused()) control.musicPause();
    EXPECT_FALSE(control.Paused());
    EXPECT_EQ(device().playedFrom, (std::vector<std::uint32_t>{0, 5000}));
    EXPECT_EQ(playlist_->akt, song);
}

TEST_F(PlaylistTest, ASongThatFailedToResumeIsReplacedAtTheNextPoll) {
    Playlist& p = *playlist_;
    p.letMusicPlay();
    const int song = p.akt;
    p.musicPause();
    device().failPlay = MCIERR_HARDWARE;
    p.musicPause();  // the resume fails and closes the device
    EXPECT_EQ(p.mpause, 0);
    EXPECT_TRUE(device().live.empty());
    device().failPlay = 0;
    p.letMusicPlay();
    EXPECT_NE(p.akt, song);
    EXPECT_EQ(p.NOMUSIC, 0);
    EXPECT_EQ(device().live.size(), 1u);
}

TEST_F(PlaylistTest, KillEndsTheMusicAndIsHarmlessWithoutASong) {
    playlist_->musicKill();  // nothing was ever opened
    playlist_->letMusicPlay();
    ASSERT_EQ(device().live.size(), 1u);
    playlist_->musicKill();
    EXPECT_FALSE(playlist_->music);
    EXPECT_TRUE(device().live.empty());
    playlist_->musicKill();
    sequencer_->Advance(SongMs(18));
    playlist_->letMusicPlay();  // a late poll after shutdown starts nothing
    EXPECT_TRUE(device().live.empty());
}

TEST(SongCaptions, EverySongHasAShortCaptionAndNoOtherRowDoes) {
    for (int row = 0; row < kMusicRows; ++row) {
        const std::string_view caption = musicInfo[static_cast<std::size_t>(row)];
        EXPECT_LE(caption.size(), kCaptionSize - 1) << row;
        if (row < kSongCount) {
            EXPECT_TRUE(caption.starts_with("Now Playing: ")) << row;
            EXPECT_NE(caption.find(" - "), std::string_view::npos) << row;
        } else {
            EXPECT_TRUE(caption.empty()) << row;
        }
    }
}

}  // namespace
}  // namespace blok
