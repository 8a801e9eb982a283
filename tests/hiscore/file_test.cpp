#include "hiscore_file.h"

#include <cstring>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include "test_files.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Where each entry's score starts in the file; its name follows 4 bytes later.
constexpr std::size_t kScoreOffsets[kHiscoreEntries] = {0,   34,  68,  106, 140,
                                                        174, 212, 246, 280, 314};
constexpr std::size_t kReservedA = 102;
constexpr std::size_t kReservedB = 208;
constexpr std::size_t kMusic = 348;

void PutWord(HiscoreFileBytes& bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t k = 0; k < 4; ++k)
        bytes[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

// A file built by hand from the layout: distinct scores, names with older bytes behind their
// terminators, both reserved words and all music words set.
HiscoreFileBytes HandBuiltFile() {
    HiscoreFileBytes bytes{};
    for (std::size_t i = 0; i < kHiscoreEntries; ++i) {
        PutWord(bytes, kScoreOffsets[i], 0x01020304U * static_cast<std::uint32_t>(i + 1));
        const std::string name = "Name" + std::to_string(i) + std::string(1, '\0') + "old tail";
        std::memcpy(&bytes[kScoreOffsets[i] + 4], name.data(), name.size());
        bytes[kScoreOffsets[i] + 4 + 29] = '\0';
    }
    PutWord(bytes, kReservedA, 0xDEADBEEFU);
    PutWord(bytes, kReservedB, 0x80000001U);
    for (std::size_t w = 0; w < kMusicWords; ++w)
        PutWord(bytes, kMusic + 4 * w,
                w % 3 == 0 ? 1U : static_cast<std::uint32_t>(-static_cast<int>(w)));
    return bytes;
}

TEST(HiscoreLayout, HandBuiltFileReadsIntoTheRightFields) {
    const HiscoreFileBytes bytes = HandBuiltFile();
    HiscoreTable table;
    ReadHiscoreBytes(bytes, table);

    EXPECT_EQ(table.Hiscore[0], 0x01020304U);
    EXPECT_EQ(table.Hiscore[3], 0x01020304U * 4);
    EXPECT_EQ(table.Hiscore[9], 0x01020304U * 10);
    EXPECT_EQ(NameText(table.Hiname[6]), "Name6");
    EXPECT_EQ(std::string(table.Hiname[6].data() + 6, 8), "old tail");
    EXPECT_EQ(table.reservedA, static_cast<std::int32_t>(0xDEADBEEFU));
    EXPECT_EQ(table.reservedB, static_cast<std::int32_t>(0x80000001U));
    EXPECT_EQ(table.stillPlayed[0], 1);
    EXPECT_EQ(table.stillPlayed[1], -1);
    EXPECT_EQ(table.stillPlayed[17], -17);
    EXPECT_EQ(table.stillPlayed[18], 1);
}

TEST(HiscoreLayout, FileRoundTripsByteForByte) {
    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    const HiscoreFileBytes original = HandBuiltFile();
    WriteBytes(path, original);

    HiscoreTable table;
    ASSERT_TRUE(LoadHiscoreFile(path, table));
    EXPECT_EQ(WriteHiscoreBytes(table), original);
    ASSERT_TRUE(SaveHiscoreFile(path, table));
    const auto saved = ReadBytes(path);
    EXPECT_EQ(saved, std::vector<std::uint8_t>(original.begin(), original.end()));
}

TEST(HiscoreLoad, MissingFileLeavesTheTableEmpty) {
    TempDir dir;
    HiscoreTable table;
    table.reservedA = 7;
    EXPECT_FALSE(LoadHiscoreFile(dir.File("hiscore.dat"), table));
    EXPECT_EQ(table.reservedA, 0);
    EXPECT_EQ(WriteHiscoreBytes(table), HiscoreFileBytes{});
}

TEST(HiscoreLoad, ShortFileFillsWhatItReaches) {
    const HiscoreFileBytes full = HandBuiltFile();
    HiscoreTable table;
    table.Hiscore[1] = 0xAABBCCDDU;
    table.Hiscore[2] = 77;
    table.stillPlayed[5] = 1;
    // The file ends two bytes into entry 1's score.
    ReadHiscoreBytes(std::span(full.data(), 36), table);

    EXPECT_EQ(table.Hiscore[0], 0x01020304U);
    EXPECT_EQ(NameText(table.Hiname[0]), "Name0");
    // The low bytes come from the file, the rest is what the field held.
    EXPECT_EQ(table.Hiscore[1], 0xAABB0608U);
    EXPECT_EQ(table.Hiscore[2], 77U);
    EXPECT_EQ(table.stillPlayed[5], 1);

    // A name cut after three bytes, over an unterminated field, still ends up terminated.
    HiscoreTable cutName;
    cutName.Hiname[0].fill('x');
    ReadHiscoreBytes(std::span(full.data(), 7), cutName);
    EXPECT_EQ(NameText(cutName.Hiname[0]), "Nam" + std::string(26, 'x'));
}

TEST(HiscoreLoad, LongerFileIgnoresTheExtraBytes) {
    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    const HiscoreFileBytes original = HandBuiltFile();
    std::vector<std::uint8_t> longer(original.begin(), original.end());
    longer.resize(5000, 0xEE);
    WriteBytes(path, longer);

    HiscoreTable table;
    ASSERT_TRUE(LoadHiscoreFile(path, table));
    EXPECT_EQ(WriteHiscoreBytes(table), original);
}

TEST(HiscoreLoad, GarbageNamesGetATerminatorAndNothingElseChanges) {
    HiscoreFileBytes garbage;
    garbage.fill(0xFF);
    HiscoreTable table;
    ReadHiscoreBytes(garbage, table);

    HiscoreFileBytes expected = garbage;
    for (const std::size_t offset : kScoreOffsets) expected[offset + 4 + 29] = 0;
    EXPECT_EQ(WriteHiscoreBytes(table), expected);
    EXPECT_EQ(NameText(table.Hiname[4]).size(), 29U);
    EXPECT_EQ(table.Hiscore[0], 0xFFFFFFFFU);
    EXPECT_EQ(table.stillPlayed[18], -1);
}

TEST(HiscoreLoad, DirectoryOrPipeInPlaceOfTheFileIsNoFile) {
    TempDir dir;
    HiscoreTable table;
    ASSERT_TRUE(std::filesystem::create_directory(dir.File("hiscore.dat")));
    EXPECT_FALSE(LoadHiscoreFile(dir.File("hiscore.dat"), table));

#ifdef _WIN32
    EXPECT_FALSE(LoadHiscoreFile("NUL", table));
#else
    // Opening a pipe with no writer must not wait for one.
    ASSERT_EQ(mkfifo(dir.File("pipe.dat").c_str(), 0600), 0);
    EXPECT_FALSE(LoadHiscoreFile(dir.File("pipe.dat"), table));
    EXPECT_FALSE(LoadHiscoreFile("/dev/zero", table));
#endif
}

}  // namespace
}  // namespace blok
