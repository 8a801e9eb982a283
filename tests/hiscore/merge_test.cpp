// Saving the table when other copies of the game share the file, and when the file or its
// folder is not what a plain save expects.

#include <array>
#include <filesystem>
#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "hiscore_book.h"
#include "test_files.h"

namespace blok {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;

class NamingDialogs : public HiscoreDialogs {
  public:
    explicit NamingDialogs(std::string name) : name_(std::move(name)) {}
    std::string RunNameDialog() override { return name_; }
    void RunScoreTable(const HiscoreTable&) override {}
    void ReportSaveFailure(const std::string& text) override { failures.push_back(text); }

    std::vector<std::string> failures;

  private:
    std::string name_;
};

// One running copy of the game: its song record, its dialogs and its book.
struct Copy {
    Copy(const std::string& path, const std::string& name)
        : dialogs(name), book(path, played, dialogs) {
        book.Load();
    }
    std::array<std::int32_t, kMusicWords> played{};
    NamingDialogs dialogs;
    HiscoreFileBook book;
};

std::unique_ptr<Copy> Start(const std::string& path, const std::string& name) {
    return std::make_unique<Copy>(path, name);
}

HiscoreTable OnDisk(const std::string& path) {
    HiscoreTable table;
    LoadHiscoreFile(path, table);
    return table;
}

std::vector<std::string> Names(const HiscoreTable& table) {
    std::vector<std::string> names;
    for (const auto& name : table.Hiname) {
        if (!NameText(name).empty()) names.emplace_back(NameText(name));
    }
    return names;
}

// Runs `body` in a child process that has given up root's rights over files, as a player's
// game runs; returns whether it passed.
bool AsPlayer(const TempDir& dir, const std::function<void()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (geteuid() == 0) {
            std::error_code ignored;
            for (const auto& entry : fs::recursive_directory_iterator(dir.File(""), ignored))
                lchown(entry.path().c_str(), kNobody, kNobody);
            lchown(dir.File("").c_str(), kNobody, kNobody);
            if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
        }
        body();
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(HiscoreCopies, TwoCopiesSavingInTurnKeepEachOthersEntries) {
    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    auto a = Start(path, "Ann");
    auto b = Start(path, "Bob");
    b->book.CheckPlayer1Hiscore(12, 0);
    b->played[4] = 1;
    b->book.Save();  // B quits
    a->played[7] = 1;
    a->book.Save();  // A quits without a new entry
    EXPECT_EQ(Names(OnDisk(path)), std::vector<std::string>{"Bob"});
    EXPECT_EQ(OnDisk(path).stillPlayed[7], 1);  // the song record of the copy that saved last
    EXPECT_EQ(OnDisk(path).stillPlayed[4], 0);

    // A new entry of A's goes where it would have gone in the table on disk, below an equal one.
    auto c = Start(path, "Cid");
    a->book.CheckPlayer1Hiscore(12, 0);
    c->book.CheckPlayer1Hiscore(30, 0);
    b->book.Save();
    EXPECT_EQ(Names(OnDisk(path)), (std::vector<std::string>{"Cid", "Bob", "Ann"}));
    EXPECT_EQ(Names(c->book.Table()), (std::vector<std::string>{"Cid", "Bob", "Ann"}));
    EXPECT_TRUE(a->dialogs.failures.empty());
}

TEST(HiscoreCopies, CopiesSavingAtOnceLoseNoEntry) {
    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    constexpr int kCopies = 8;
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < kCopies; ++i) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto copy = Start(path, "P" + std::to_string(i));
            close(go[1]);
            char byte;
            (void)!read(go[0], &byte, 1);  // all start saving when the pipe closes
            for (int round = 1; round <= 3; ++round) {
                copy->book.CheckPlayer1Hiscore(static_cast<std::uint32_t>(100 * round + i), 0);
            }
            _exit(copy->dialogs.failures.empty() ? 0 : 1);
        }
        children.push_back(child);
    }
    close(go[0]);
    close(go[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // 24 entries were made; the table holds the ten best of them.
    const std::array<std::uint32_t, kHiscoreEntries> best{307, 306, 305, 304, 303,
                                                          302, 301, 300, 207, 206};
    EXPECT_EQ(OnDisk(path).Hiscore, best);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"hiscore.dat"});
}

TEST(HiscoreFiles, LinkedFileIsSavedThroughTheLinkAndKeepsItsPermissions) {
    TempDir dir;
    fs::create_directory(dir.File("kept"));
    const std::string real = dir.File("kept/scores");
    ASSERT_TRUE(SaveHiscoreFile(real, HiscoreTable{}));
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("kept/scores", dir.File("hiscore.dat"));

    auto copy = Start(dir.File("hiscore.dat"), "Lin");
    copy->book.CheckPlayer1Hiscore(5, 0);
    EXPECT_TRUE(fs::is_symlink(dir.File("hiscore.dat")));
    EXPECT_EQ(Names(OnDisk(real)), std::vector<std::string>{"Lin"});
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(dir.Names().size(), 2u);  // no temporary beside the link
    EXPECT_EQ(fs::directory_iterator(dir.File("kept"))->path(), fs::path(real));
}

TEST(HiscoreFiles, ReadOnlyFileStaysAsItIsAndTheLostEntryIsReported) {
    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    HiscoreTable old;
    old.Hiscore[0] = 7;
    ASSERT_TRUE(SaveHiscoreFile(path, old));
    chmod(path.c_str(), 0444);
    EXPECT_TRUE(AsPlayer(dir, [&] {
        auto copy = Start(path, "Ro");
        copy->book.Save();  // nothing new: silent, as ever
        EXPECT_TRUE(copy->dialogs.failures.empty());
        copy->book.CheckPlayer1Hiscore(50, 0);
        ASSERT_EQ(copy->dialogs.failures.size(), 1u);
        EXPECT_NE(copy->dialogs.failures[0].find(path), std::string::npos);
        EXPECT_NE(copy->dialogs.failures[0].find("Permission denied"), std::string::npos);
        EXPECT_EQ(OnDisk(path).Hiscore[0], 7U);
    }));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444U);
}

TEST(HiscoreFiles, ReadOnlyFolderWithAWritableFileIsSavedInPlace) {
    TempDir dir;
    fs::create_directory(dir.File("game"));
    const std::string path = dir.File("game/hiscore.dat");
    ASSERT_TRUE(SaveHiscoreFile(path, HiscoreTable{}));
    chmod(dir.File("game").c_str(), 0555);
    EXPECT_TRUE(AsPlayer(dir, [&] {
        auto copy = Start(path, "Inplace");
        copy->book.CheckPlayer1Hiscore(9, 0);
        EXPECT_TRUE(copy->dialogs.failures.empty());
        EXPECT_EQ(Names(OnDisk(path)), std::vector<std::string>{"Inplace"});
        EXPECT_EQ(ReadBytes(path).size(), kHiscoreFileSize);
    }));
}

TEST(HiscoreFiles, AnotherUsersFileKeepsItsOwner) {
    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    ASSERT_TRUE(SaveHiscoreFile(path, HiscoreTable{}));
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a file away";
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    auto copy = Start(path, "Guest");
    copy->book.CheckPlayer1Hiscore(4, 0);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534U);
    EXPECT_EQ(Names(OnDisk(path)), std::vector<std::string>{"Guest"});
}

TEST(HiscoreFiles, FailedSaveOfANewEntryNamesTheFileAndTheReason) {
    TempDir dir;
    const std::string path = dir.File("gone/hiscore.dat");
    auto copy = Start(path, "Lost");
    copy->book.Save();
    EXPECT_TRUE(copy->dialogs.failures.empty());
    copy->book.CheckPlayer1Hiscore(3, 0);
    ASSERT_EQ(copy->dialogs.failures.size(), 1u);
    EXPECT_EQ(copy->dialogs.failures[0],
              "The high score could not be saved to \"" + path + "\": No such file or directory.");
    copy->book.Save();  // still not saved at the end: said again
    EXPECT_EQ(copy->dialogs.failures.size(), 2u);
}

}  // namespace
}  // namespace blok
