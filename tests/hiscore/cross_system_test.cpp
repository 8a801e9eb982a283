// files/hiscore.dat is the file both builds must read and write alike: the Linux and the Windows
// tests load it into the same table and save that table back to the same bytes.
#include <string>

#include <gtest/gtest.h>

#include "hiscore_file.h"
#include "test_files.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TempDir;

const std::string kSharedFile = BLOK_HISCORE_FILES "/hiscore.dat";

NameField Name(const std::string& text) {
    NameField field{};
    const std::string stored = text + std::string(1, '\0') + "tail";
    std::copy(stored.begin(), stored.end(), field.begin());
    return field;
}

HiscoreTable SharedTable() {
    const char* names[kHiscoreEntries] = {
        "Zo\u00eb Sch\u00e4fer", "Pixelkatze", "\u00c5sa", "Nobody", "Jos\u00e9", "Marek",
        "\u65e5\u672c",          "L\u00e9a",   "Ole",      "Ida"};
    HiscoreTable table;
    for (std::size_t i = 0; i < kHiscoreEntries; ++i) {
        table.Hiscore[i] = 4000000000U - static_cast<std::uint32_t>(i) * 390001U;
        table.Hiname[i] = Name(names[i]);
    }
    table.reservedA = 0x12345678;
    table.reservedB = -2;
    for (std::size_t w = 0; w < kMusicWords; ++w)
        table.stillPlayed[w] = static_cast<std::int32_t>(1 - static_cast<int>(w % 3));
    return table;
}

TEST(HiscoreBetweenSystems, SharedFileLoadsIntoTheSameTableAndSavesBackToItsBytes) {
    HiscoreTable loaded;
    ASSERT_TRUE(LoadHiscoreFile(kSharedFile, loaded));
    const HiscoreTable expected = SharedTable();
    EXPECT_EQ(loaded.Hiscore, expected.Hiscore);
    EXPECT_EQ(loaded.Hiname, expected.Hiname);
    EXPECT_EQ(loaded.reservedA, expected.reservedA);
    EXPECT_EQ(loaded.reservedB, expected.reservedB);
    EXPECT_EQ(loaded.stillPlayed, expected.stillPlayed);

    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    ASSERT_TRUE(SaveHiscoreFile(path, expected));
    EXPECT_EQ(ReadBytes(path), ReadBytes(kSharedFile));
}

}  // namespace
}  // namespace blok
