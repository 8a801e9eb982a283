#include "hiscore_file.h"

#include <cerrno>
#include <chrono>
#include <random>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "test_files.h"

namespace blok {
namespace {

using testing::ReadBytes;
using testing::TempDir;

std::vector<std::uint8_t> BytesOf(const HiscoreTable& table) {
    const HiscoreFileBytes bytes = WriteHiscoreBytes(table);
    return {bytes.begin(), bytes.end()};
}

HiscoreTable TableWithTopScore(std::uint32_t score) {
    HiscoreTable table;
    table.Hiscore[0] = score;
    table.Hiname[0] = NameField{'T', 'o', 'p'};
    table.stillPlayed.fill(static_cast<std::int32_t>(score % 2));
    return table;
}

enum class Step { OpenTemp, Write, FsyncFile, CloseFile, Rename, OpenDirectory, FsyncDirectory };

// The real calls, except that one step fails. A failing write first writes part of the bytes,
// as a full disk would.
class FailingCalls : public SaveCalls {
  public:
    explicit FailingCalls(Step failing) : failing_(failing) {}

    int OpenExclusive(const std::string& path) override {
        return Fail(Step::OpenTemp, ENOSPC) ? -1 : SaveCalls::OpenExclusive(path);
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        if (failing_ != Step::Write) return SaveCalls::Write(fd, data, size);
        if (!wrotePart_) {
            wrotePart_ = true;
            return SaveCalls::Write(fd, data, size / 2);
        }
        errno = ENOSPC;
        return -1;
    }
    int Fsync(int fd) override {
        const Step step = fileClosed_ ? Step::FsyncDirectory : Step::FsyncFile;
        return Fail(step, EIO) ? -1 : SaveCalls::Fsync(fd);
    }
    int Close(int fd) override {
        const int result = SaveCalls::Close(fd);  // a failing close still releases the descriptor
        const bool fail = !fileClosed_ && Fail(Step::CloseFile, EIO);
        fileClosed_ = true;
        return fail ? -1 : result;
    }
    int Rename(const std::string& from, const std::string& to) override {
        return Fail(Step::Rename, EXDEV) ? -1 : SaveCalls::Rename(from, to);
    }
    int OpenDirectory(const std::string& path) override {
        return Fail(Step::OpenDirectory, EACCES) ? -1 : SaveCalls::OpenDirectory(path);
    }

  private:
    bool Fail(Step step, int error) {
        if (step != failing_) return false;
        errno = error;
        return true;
    }

    Step failing_;
    bool wrotePart_ = false;
    bool fileClosed_ = false;
};

TEST(HiscoreSave, EveryFailingStepLeavesTheOldOrTheNewFileAndNoTemporary) {
    const HiscoreTable oldTable = TableWithTopScore(100);
    const HiscoreTable newTable = TableWithTopScore(200);
    struct Case {
        Step step;
        bool replaced;  // the rename has happened before the failure
    };
    const Case cases[] = {{Step::OpenTemp, false},     {Step::Write, false},
                          {Step::FsyncFile, false},    {Step::CloseFile, false},
                          {Step::Rename, false},       {Step::OpenDirectory, true},
                          {Step::FsyncDirectory, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        TempDir dir;
        const std::string path = dir.File("hiscore.dat");
        ASSERT_TRUE(SaveHiscoreFile(path, oldTable));

        FailingCalls calls(c.step);
        EXPECT_FALSE(SaveHiscoreFile(path, newTable, calls));
        EXPECT_EQ(ReadBytes(path), BytesOf(c.replaced ? newTable : oldTable));
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"hiscore.dat"});
    }
}

TEST(HiscoreSave, FailureWithoutAnOldFileLeavesNothing) {
    TempDir dir;
    FailingCalls calls(Step::Write);
    EXPECT_FALSE(SaveHiscoreFile(dir.File("hiscore.dat"), TableWithTopScore(1), calls));
    EXPECT_TRUE(dir.Names().empty());
    EXPECT_FALSE(SaveHiscoreFile(dir.File("no-such-dir/hiscore.dat"), TableWithTopScore(1)));
}

// Short and interrupted writes are part of normal life, not failures.
class DribblingCalls : public SaveCalls {
  public:
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        if (++calls_ % 3 == 0) {
            errno = EINTR;
            return -1;
        }
        return SaveCalls::Write(fd, data, std::min<std::size_t>(size, 50));
    }

  private:
    int calls_ = 0;
};

TEST(HiscoreSave, ShortAndInterruptedWritesStillSaveEverything) {
    TempDir dir;
    DribblingCalls calls;
    const HiscoreTable table = TableWithTopScore(4242);
    ASSERT_TRUE(SaveHiscoreFile(dir.File("hiscore.dat"), table, calls));
    EXPECT_EQ(ReadBytes(dir.File("hiscore.dat")), BytesOf(table));
}

TEST(HiscoreSave, TemporaryLeftByACrashDoesNotBlockTheNextSave) {
    TempDir dir;
    const std::string stale = dir.File(".hiscore.dat.new-" + std::to_string(getpid()) + "-0");
    testing::WriteBytes(stale, std::string("half a file"));
    const HiscoreTable table = TableWithTopScore(9);
    ASSERT_TRUE(SaveHiscoreFile(dir.File("hiscore.dat"), table));
    EXPECT_EQ(ReadBytes(dir.File("hiscore.dat")), BytesOf(table));
}

// A process killed at any moment while saving over and over leaves a complete file.
TEST(HiscoreSave, KilledSaverLeavesTheOldOrTheNewFile) {
    TempDir dir;
    const std::string path = dir.File("hiscore.dat");
    const HiscoreTable tables[2] = {TableWithTopScore(1111), TableWithTopScore(2222)};
    ASSERT_TRUE(SaveHiscoreFile(path, tables[0]));

    std::mt19937 random(20240501);
    std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (unsigned i = 0;; ++i) SaveHiscoreFile(path, tables[i % 2]);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        const auto bytes = ReadBytes(path);
        ASSERT_TRUE(bytes == BytesOf(tables[0]) || bytes == BytesOf(tables[1]))
            << "round " << round << ": " << bytes.size() << " bytes";
    }
    // The temporary files the killed savers left are cleared by the next save; a temporary of a
    // process that still runs stays.
    const std::string running = dir.File(".hiscore.dat.new-1-0");
    testing::WriteBytes(running, std::string("being written"));
    ASSERT_TRUE(SaveHiscoreFile(path, tables[0]));
    EXPECT_EQ(dir.Names().size(), 2u);
    EXPECT_EQ(ReadBytes(running).size(), 13u);
}

}  // namespace
}  // namespace blok
