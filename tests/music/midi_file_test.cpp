#include <gtest/gtest.h>

#include <bit>
#include <bitset>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "mci_error.h"
#include "midi_bytes.h"
#include "midi_file.h"

namespace blok {
namespace {

using testing::Append;
using testing::AppendEnd;
using testing::AppendTempo;
using testing::AppendTrack;
using testing::AppendU32;
using testing::AppendVarLen;
using testing::Bytes;
using testing::Header;

std::uint32_t Parse(const Bytes& bytes, MidiSong& song) {
    return ParseMidi(bytes, song);
}

std::uint32_t Parse(const Bytes& bytes) {
    MidiSong song;
    return ParseMidi(bytes, song);
}

// Format 1: a conductor track that halves the tempo after one beat, and a track with notes.
Bytes TwoTempoSong() {
    Bytes conductor;
    AppendTempo(conductor, 0, 500'000);      // 480 ticks = 500 ms
    AppendTempo(conductor, 480, 1'000'000);  // from here 480 ticks = 1000 ms
    AppendEnd(conductor, 0);
    Bytes notes;
    Append(notes, {0x00, 0x99, 36, 100});  // drum on channel 10
    Append(notes, {0x00, 0x90, 60, 90});   // a note on channel 1...
    AppendVarLen(notes, 960);
    Append(notes, {0x80, 60, 0});  // ...ended after two beats
    Append(notes, {0x00, 0x89, 36, 0});
    AppendEnd(notes, 0);
    Bytes file = Header(1, 2, 480);
    AppendTrack(file, conductor);
    AppendTrack(file, notes);
    return file;
}

TEST(MidiFile, TimesFollowTheTempoMapAcrossTracks) {
    MidiSong song;
    ASSERT_EQ(Parse(TwoTempoSong(), song), 0u);
    EXPECT_EQ(song.endTick, 960u);
    EXPECT_EQ(song.LengthMilliseconds(), 1500u);
    EXPECT_EQ(song.MillisecondsAt(240), 250u);
    EXPECT_EQ(song.MillisecondsAt(720), 1000u);
    EXPECT_EQ(song.TickAt(0), 0u);
    EXPECT_EQ(song.TickAt(250), 240u);
    EXPECT_EQ(song.TickAt(1000), 720u);
    EXPECT_EQ(song.TickAt(60'000), 960u) << "never beyond the end";
    EXPECT_EQ(song.channelsWithNotes, (1u << 0) | (1u << 9));
    EXPECT_EQ(song.hangingNotes, 0u);
}

TEST(MidiFile, RunningStatusAndZeroVelocityNoteOffsAreUnderstood) {
    Bytes events;
    Append(events, {0x00, 0x90, 60, 100, 0x10, 64, 100});  // second note by running status
    Append(events, {0x10, 60, 0, 0x10, 64, 0});            // both ended by velocity 0
    Append(events, {0x00, 0x90, 67, 100});                 // this one never ends
    AppendEnd(events, 0);
    Bytes file = Header(0, 1, 96);
    AppendTrack(file, events);
    MidiSong song;
    ASSERT_EQ(Parse(file, song), 0u);
    EXPECT_EQ(song.endTick, 48u);
    EXPECT_EQ(song.hangingNotes, 1u);
}

TEST(MidiFile, ProgramChangesAreCollectedDrumKitsApart) {
    Bytes melody;
    Append(melody, {0x00, 0xC1, 5, 0x10, 7});                    // the second by running status
    Append(melody, {0x00, 0x91, 60, 100, 0x00, 0x90, 60, 100});  // channel 1 has chosen
    Append(melody, {0x00, 0x92, 60, 100});                       // channel 3 never chooses
    AppendEnd(melody, 0);
    Bytes drums;
    Append(drums, {0x00, 0xC9, 25, 0x00, 0x99, 36, 100});
    Append(drums, {0x10, 0xC0, 7});  // channel 1's choice, in another track
    AppendEnd(drums, 0);
    Bytes file = Header(1, 2, 96);
    AppendTrack(file, melody);
    AppendTrack(file, drums);
    MidiSong song;
    ASSERT_EQ(Parse(file, song), 0u);
    EXPECT_EQ(song.programs.melodic, (std::bitset<128>{}.set(5).set(7)));
    EXPECT_EQ(song.programs.drumKits, std::bitset<128>{}.set(25));
    EXPECT_EQ(song.programs.channelsPlayingDefault, 0b101u) << "channels 1 and 3";
    EXPECT_FALSE(song.programs.hasSystemExclusive);

    Bytes exclusive;
    Append(exclusive, {0x00, 0xF0, 0x03, 0x41, 0x10, 0xF7});
    AppendEnd(exclusive, 0);
    Bytes withExclusive = Header(0, 1, 96);
    AppendTrack(withExclusive, exclusive);
    ASSERT_EQ(Parse(withExclusive, song), 0u);
    EXPECT_TRUE(song.programs.hasSystemExclusive);
}

TEST(MidiFile, UnknownChunksAreSkippedAndMissingTempoMeansTheDefault) {
    Bytes file = Header(0, 1, 100);
    Append(file, {'X', 'Y', 'Z', 'W'});
    AppendU32(file, 3);
    Append(file, {1, 2, 3});
    Bytes events;
    AppendEnd(events, 200);  // two beats at 120 per minute
    AppendTrack(file, events);
    MidiSong song;
    ASSERT_EQ(Parse(file, song), 0u);
    EXPECT_EQ(song.LengthMilliseconds(), 1000u);
}

TEST(MidiFile, RejectsFilesTheSequencerCannotPlay) {
    Bytes ok = TwoTempoSong();
    ASSERT_EQ(Parse(ok), 0u);

    Bytes notMidi(ok);
    notMidi[0] = 'R';
    Bytes formatTwo = ok;
    formatTwo[9] = 2;
    Bytes noTracks = ok;
    noTracks[11] = 0;
    Bytes timeCode = ok;
    timeCode[12] = 0xE7;  // 25 frames per second, time-code time base
    Bytes zeroDivision = ok;
    zeroDivision[12] = 0;
    zeroDivision[13] = 0;
    Bytes moreTracksDeclared = ok;
    moreTracksDeclared[11] = 3;

    for (const Bytes* file :
         {&notMidi, &formatTwo, &noTracks, &timeCode, &zeroDivision, &moreTracksDeclared})
        EXPECT_EQ(Parse(*file), MCIERR_INVALID_FILE);
}

Bytes OneTrack(const Bytes& events) {
    Bytes file = Header(0, 1, 96);
    AppendTrack(file, events);
    return file;
}

TEST(MidiFile, RejectsMalformedEvents) {
    Bytes dataWithoutStatus{0x00, 60, 100};
    Bytes statusAfterMeta;  // running status does not survive a meta event
    Append(statusAfterMeta, {0x00, 0x90, 60, 100});
    AppendTempo(statusAfterMeta, 0, 500'000);
    Append(statusAfterMeta, {0x00, 60, 0});
    Bytes statusInData{0x00, 0x90, 60, 0x90};
    Bytes zeroTempo;
    AppendTempo(zeroTempo, 0, 0);
    Bytes shortTempo{0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1};
    Bytes fiveByteDelta{0x81, 0x81, 0x81, 0x81, 0x01, 0xFF, 0x2F, 0x00};
    Bytes realTimeByte{0x00, 0xF8};
    Bytes metaLongerThanTrack{0x00, 0xFF, 0x01, 0x7F, 'a'};
    Bytes sysexLongerThanTrack{0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F, 0xF7};
    Bytes cutInsideNote{0x00, 0x90, 60};
    Bytes beyondAddressableTicks;
    for (int i = 0; i < 17; ++i)
        Append(beyondAddressableTicks, {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00});

    for (const Bytes* events : {&dataWithoutStatus, &statusAfterMeta, &statusInData, &zeroTempo,
                                &shortTempo, &fiveByteDelta, &realTimeByte, &metaLongerThanTrack,
                                &sysexLongerThanTrack, &cutInsideNote, &beyondAddressableTicks})
        EXPECT_EQ(Parse(OneTrack(*events)), MCIERR_INVALID_FILE)
            << ::testing::PrintToString(*events);
}

TEST(MidiFile, EveryTruncationAndHugeDeclaredLengthIsRejected) {
    const Bytes ok = TwoTempoSong();
    for (std::size_t size = 0; size < ok.size(); ++size) {
        EXPECT_EQ(Parse(Bytes(ok.begin(), ok.begin() + static_cast<std::ptrdiff_t>(size))),
                  MCIERR_INVALID_FILE)
            << size;
    }
    Bytes hugeHeader = ok;
    hugeHeader[4] = 0xFF;
    Bytes hugeTrack = ok;
    hugeTrack[18] = 0x7F;
    EXPECT_EQ(Parse(hugeHeader), MCIERR_INVALID_FILE);
    EXPECT_EQ(Parse(hugeTrack), MCIERR_INVALID_FILE);
}

// Random damage to a good file must end in a verdict, never in a crash, a hang or a read
// outside the buffer (the sanitizer build checks the last).
TEST(MidiFile, SurvivesRandomDamage) {
    const Bytes ok = TwoTempoSong();
    std::mt19937 random(20240611u);
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        Bytes damaged = ok;
        const int hits = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < hits; ++i)
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        if (random() % 3 == 0) damaged.resize(random() % damaged.size());
        MidiSong song;
        const std::uint32_t result = Parse(damaged, song);
        ASSERT_TRUE(result == 0 || result == MCIERR_INVALID_FILE);
        if (result == 0) ++accepted;
    }
    EXPECT_GT(accepted, 0) << "harmless damage, such as a changed note, is still playable";
}

TEST(MidiFile, LoadingTellsMissingFilesFromUnreadableAndInvalidOnes) {
    testing::ScratchDir dir("midi-load");
    MidiSong song;
    EXPECT_EQ(LoadMidiFile((dir.path() / "absent.mid").string(), song), MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(LoadMidiFile(dir.path().string(), song), MCIERR_INVALID_FILE) << "a directory";
    testing::WriteFile(dir.path() / "empty.mid", {});
    EXPECT_EQ(LoadMidiFile((dir.path() / "empty.mid").string(), song), MCIERR_INVALID_FILE);
    testing::WriteFile(dir.path() / "good.mid", testing::SongOfMilliseconds(1234));
    ASSERT_EQ(LoadMidiFile((dir.path() / "good.mid").string(), song), 0u);
    EXPECT_EQ(song.LengthMilliseconds(), 1234u);
}

// The songs the game ships: playable, one to three minutes, no stuck notes, and a band of at
// least melody, bass and drums.
TEST(ShippedSongs, AreSoundStandardMidiFiles) {
    for (int number = 1; number <= 19; ++number) {
        const std::string path = std::string(BLOK_SONG_DIR) + "/" + std::to_string(number) + ".mid";
        MidiSong song;
        ASSERT_EQ(LoadMidiFile(path, song), 0u) << path;
        EXPECT_EQ(song.format, 1) << path;
        EXPECT_GE(song.LengthMilliseconds(), 60'000u) << path;
        EXPECT_LE(song.LengthMilliseconds(), 180'000u) << path;
        EXPECT_EQ(song.hangingNotes, 0u) << path;
        EXPECT_TRUE(song.channelsWithNotes & (1u << 9)) << path << ": drums";
        EXPECT_GE(std::popcount(song.channelsWithNotes), 4) << path;
    }
}

}  // namespace
}  // namespace blok
