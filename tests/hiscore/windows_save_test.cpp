// The Win32 side of the save rules: replace, leftovers, read-only files and the folder lock.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

#include <windows.h>

#include <gtest/gtest.h>

#include "hiscore_file.h"
#include "test_files.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

HiscoreTable TableWithTopScore(std::uint32_t score) {
    HiscoreTable table;
    table.Hiscore[0] = score;
    return table;
}

std::vector<std::uint8_t> BytesOf(const HiscoreTable& table) {
    const HiscoreFileBytes bytes = WriteHiscoreBytes(table);
    return {bytes.begin(), bytes.end()};
}

class FailingRename : public SaveCalls {
  public:
    int Rename(const std::string&, const std::string&) override {
        errno = EACCES;
        return -1;
    }
};

TEST(HiscoreSaveOnWindows, ReplacesTheFileAndCleansUpAfterKilledSaves) {
    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    ASSERT_TRUE(SaveHiscoreFile(path, TableWithTopScore(1)));
    // A temporary file of a process that is gone goes; one of this process stays.
    const std::string dead = dir.File(".hiscore.dat.new-4294967290-0");
    const std::string ours =
        dir.File(".hiscore.dat.new-" + std::to_string(GetCurrentProcessId()) + "-99");
    WriteBytes(dead, std::string("x"));
    WriteBytes(ours, std::string("x"));

    ASSERT_TRUE(SaveHiscoreFile(path, TableWithTopScore(2)));
    EXPECT_EQ(ReadBytes(path), BytesOf(TableWithTopScore(2)));
    auto names = dir.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{
                         ".hiscore.dat.new-" + std::to_string(GetCurrentProcessId()) + "-99",
                         "hiscore.dat"}));
}

TEST(HiscoreSaveOnWindows, FailuresLeaveTheOldFileAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    ASSERT_TRUE(SaveHiscoreFile(path, TableWithTopScore(1)));

    FailingRename failing;
    EXPECT_EQ(SaveHiscoreFileError(path, TableWithTopScore(2), failing), EACCES);
    EXPECT_EQ(ReadBytes(path), BytesOf(TableWithTopScore(1)));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"hiscore.dat"});

    // A file the player made read-only is not touched.
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(SaveHiscoreFileError(path, TableWithTopScore(3), failing), EACCES);
    EXPECT_EQ(ReadBytes(path), BytesOf(TableWithTopScore(1)));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_FALSE(SaveHiscoreFile(dir.File("no-such-folder\\hiscore.dat"), TableWithTopScore(4)));
}

TEST(HiscoreSaveOnWindows, FolderLockMakesASecondCopyWaitForTheFirst) {
    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    std::atomic<bool> released = false;
    std::atomic<bool> started = false;
    bool releasedWhenTaken = false;
    std::thread second;
    {
        const FolderLock first(path);
        second = std::thread([&] {
            started = true;
            // The same folder by another spelling is the same lock.
            const FolderLock waiting(dir.File(".\\hiscore.dat"));
            releasedWhenTaken = released;
        });
        while (!started) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        released = true;
    }
    second.join();
    EXPECT_TRUE(releasedWhenTaken);
}

}  // namespace
}  // namespace blok
