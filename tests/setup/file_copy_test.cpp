#include "file_copy.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "scratch_folder.h"

namespace blok::setup {
namespace {

namespace fs = std::filesystem;

// Names in `folder`, to show that no temporary file is left behind.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(InstallCopy, CopiesBytesAndPermissions) {
    ScratchFolder scratch;
    std::string contents(200000, '\0');
    for (std::size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<char>(i * 7);
    WriteFile(scratch / "Blokfall", contents);
    ::chmod((scratch / "Blokfall").c_str(), 0755);
    fs::create_directory(scratch / "target");

    ASSERT_FALSE(InstallCopy(scratch / "Blokfall", scratch / "target" / "Blokfall"));
    EXPECT_EQ(ReadFile(scratch / "target" / "Blokfall"), contents);
    EXPECT_EQ(fs::status(scratch / "target" / "Blokfall").permissions() & fs::perms::all,
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                  fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(Names(scratch / "target"), std::vector<std::string>{"Blokfall"});
}

TEST(InstallCopy, ReplacesAnExistingFileByRenamingNotByWritingIntoIt) {
    ScratchFolder scratch;
    WriteFile(scratch / "new.txt", "new");
    WriteFile(scratch / "Readme.txt", "old");
    // A second name for the old file keeps the old contents if the file is replaced whole.
    fs::create_hard_link(scratch / "Readme.txt", scratch / "old-link.txt");

    ASSERT_FALSE(InstallCopy(scratch / "new.txt", scratch / "Readme.txt"));
    EXPECT_EQ(ReadFile(scratch / "Readme.txt"), "new");
    EXPECT_EQ(ReadFile(scratch / "old-link.txt"), "old");
}

TEST(InstallCopy, CopyOntoItselfKeepsTheFile) {
    ScratchFolder scratch;
    WriteFile(scratch / "1.mid", "MThd");
    ASSERT_FALSE(InstallCopy(scratch / "1.mid", scratch / "1.mid"));
    EXPECT_EQ(ReadFile(scratch / "1.mid"), "MThd");
    EXPECT_EQ(Names(scratch.path()), std::vector<std::string>{"1.mid"});
}

TEST(InstallCopy, FailuresReportTheReasonAndLeaveNothingBehind) {
    ScratchFolder scratch;
    WriteFile(scratch / "song.mid", "MThd");
    WriteFile(scratch / "plain-file", "x");
    fs::create_directories(scratch / "target" / "Readme.txt");
    WriteFile(scratch / "target" / "Readme.txt" / "mine", "user data");

    EXPECT_EQ(InstallCopy(scratch / "missing.mid", scratch / "target" / "x.mid"),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(InstallCopy(scratch / "song.mid", scratch / "plain-file" / "song.mid"),
              std::errc::not_a_directory);
    EXPECT_EQ(InstallCopy(scratch / "song.mid", scratch / "nowhere" / "song.mid"),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(InstallCopy(scratch / "target", scratch / "copy"), std::errc::is_a_directory);
    // A folder standing under the final name is neither replaced nor emptied.
    EXPECT_EQ(InstallCopy(scratch / "song.mid", scratch / "target" / "Readme.txt"),
              std::errc::is_a_directory);
    EXPECT_EQ(ReadFile(scratch / "target" / "Readme.txt" / "mine"), "user data");
    EXPECT_EQ(Names(scratch / "target"), std::vector<std::string>{"Readme.txt"});
    EXPECT_EQ(Names(scratch.path()),
              (std::vector<std::string>{"plain-file", "song.mid", "target"}));
}

TEST(InstallCopy, TemporaryNameAvoidsFilesThatAreThere) {
    ScratchFolder scratch;
    WriteFile(scratch / "a.txt", "new");
    WriteFile(scratch / ".b.txt.part0", "someone's file");
    ASSERT_FALSE(InstallCopy(scratch / "a.txt", scratch / "b.txt"));
    EXPECT_EQ(ReadFile(scratch / ".b.txt.part0"), "someone's file");
    EXPECT_EQ(ReadFile(scratch / "b.txt"), "new");
}

// What an installer killed halfway left is removed; what a running one writes stays.
TEST(InstallCopy, LeftoversOfKilledInstallersAreRemoved) {
    ScratchFolder scratch;
    WriteFile(scratch / "a.txt", "new");
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    const std::string leftover = ".b.txt.part-" + std::to_string(gone) + "-0";
    WriteFile(scratch / leftover, "half");
    WriteFile(scratch / ".b.txt.part-1-0", "being written");
    ASSERT_FALSE(InstallCopy(scratch / "a.txt", scratch / "b.txt"));
    EXPECT_FALSE(fs::exists(scratch / leftover));
    EXPECT_TRUE(fs::exists(scratch / ".b.txt.part-1-0"));
}

TEST(InstallText, WritesReadableFile) {
    ScratchFolder scratch;
    ASSERT_FALSE(InstallText("[Desktop Entry]\n", scratch / "x.desktop"));
    EXPECT_EQ(ReadFile(scratch / "x.desktop"), "[Desktop Entry]\n");
    EXPECT_EQ(fs::status(scratch / "x.desktop").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    EXPECT_EQ(InstallText("x", scratch / "x.desktop" / "y"), std::errc::not_a_directory);
}

}  // namespace
}  // namespace blok::setup
