#include "hiscore_book.h"

#include <array>
#include <functional>

#include <gtest/gtest.h>

#include "test_files.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TempDir;

class ScriptedDialogs : public HiscoreDialogs {
  public:
    std::string RunNameDialog() override {
        ++nameDialogs;
        return typedName;
    }
    void RunScoreTable(const HiscoreTable& table) override {
        ++tableDialogs;
        shownTop = table.Hiscore[0];
        if (whileTableShown) whileTableShown();
    }
    void ReportSaveFailure(const std::string& text) override { failures.push_back(text); }

    std::string typedName = "Nobody";
    int nameDialogs = 0;
    int tableDialogs = 0;
    std::uint32_t shownTop = 0;
    std::function<void()> whileTableShown;
    std::vector<std::string> failures;
};

// The playlist keeps 30 played flags; the book sees the first 19, one per song.
using PlayedFlags = std::array<std::int32_t, 30>;

std::span<std::int32_t, kMusicWords> SongWords(PlayedFlags& flags) {
    return std::span<std::int32_t, kMusicWords>(flags.data(), kMusicWords);
}

class HiscoreBookTest : public ::testing::Test {
  protected:
    std::string Path() const { return dir.File("hiscore.dat"); }

    TempDir dir;
    PlayedFlags stillPlayed{};
    ScriptedDialogs dialogs;
    HiscoreFileBook book{Path(), SongWords(stillPlayed), dialogs};
};

TEST_F(HiscoreBookTest, NoFileMeansEmptyTableAndUntouchedMusic) {
    stillPlayed[3] = 1;
    book.Load();
    EXPECT_EQ(book.Table().Hiscore, (std::array<std::uint32_t, kHiscoreEntries>{}));
    EXPECT_EQ(stillPlayed[3], 1);
}

TEST_F(HiscoreBookTest, ScoresThatCannotEnterAskForNoName) {
    book.Load();
    book.CheckPlayer1Hiscore(0, 0);
    book.CheckPlayer1Hiscore(5000, 1);  // a face-to-face fight
    EXPECT_EQ(dialogs.nameDialogs, 0);
    EXPECT_EQ(dialogs.tableDialogs, 0);
    EXPECT_TRUE(dir.Names().empty());
}

TEST_F(HiscoreBookTest, NewEntryIsOnDiskBeforeTheTableIsShown) {
    book.Load();
    dialogs.typedName = "A name far longer than twenty-seven characters";
    std::vector<std::uint8_t> onDiskWhileShown;
    dialogs.whileTableShown = [&] { onDiskWhileShown = ReadBytes(Path()); };

    book.CheckPlayer1Hiscore(1, 0);

    EXPECT_EQ(dialogs.nameDialogs, 1);
    EXPECT_EQ(dialogs.tableDialogs, 1);
    EXPECT_EQ(dialogs.shownTop, 1U);
    EXPECT_EQ(NameText(book.Table().Hiname[0]), "A name far longer than twen");
    ASSERT_EQ(onDiskWhileShown.size(), kHiscoreFileSize);
    EXPECT_EQ(onDiskWhileShown[0], 1);
    EXPECT_EQ(std::string(onDiskWhileShown.begin() + 4, onDiskWhileShown.begin() + 31),
              "A name far longer than twen");
}

TEST_F(HiscoreBookTest, MusicWordsTravelThroughTheFile) {
    book.Load();
    stillPlayed[0] = 1;
    stillPlayed[18] = 1;
    stillPlayed[19] = 1;  // beyond the song count: not the file's business
    ASSERT_TRUE(book.SaveNow());

    PlayedFlags nextRun{};
    HiscoreFileBook next(Path(), SongWords(nextRun), dialogs);
    next.Load();
    EXPECT_EQ(nextRun[0], 1);
    EXPECT_EQ(nextRun[1], 0);
    EXPECT_EQ(nextRun[18], 1);
    EXPECT_EQ(nextRun[19], 0);
}

TEST_F(HiscoreBookTest, EntriesSurviveASaveAndLoadAndTheMenuShowsTheTable) {
    book.Load();
    dialogs.typedName = "";
    book.CheckPlayer1Hiscore(300, 0);
    dialogs.typedName = "Mia";
    book.CheckPlayer1Hiscore(700, 0);
    book.Save();

    PlayedFlags nextRun{};
    ScriptedDialogs nextDialogs;
    HiscoreFileBook next(Path(), SongWords(nextRun), nextDialogs);
    next.Load();
    EXPECT_EQ(next.Table().Hiscore[0], 700U);
    EXPECT_EQ(NameText(next.Table().Hiname[0]), "Mia");
    EXPECT_EQ(next.Table().Hiscore[1], 300U);
    EXPECT_EQ(NameText(next.Table().Hiname[1]), "");
    next.ShowScore();
    EXPECT_EQ(nextDialogs.shownTop, 700U);
    EXPECT_EQ(nextDialogs.nameDialogs, 0);
}

}  // namespace
}  // namespace blok
