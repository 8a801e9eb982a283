#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include <sys/types.h>

#include "hiscore_table.h"

namespace blok {

// hiscore.dat: ten entries of a little-endian score and a 30-byte name, a reserved word before
// entries 3 and 6, then the 19 music words. No header, no padding.
inline constexpr std::size_t kHiscoreFileSize = 424;
using HiscoreFileBytes = std::array<std::uint8_t, kHiscoreFileSize>;

// Reads the fields in file order over the table. A field the bytes do not reach keeps its value;
// a field cut by the end takes the bytes that are there; bytes past the layout are ignored.
// Afterwards every name field has a terminator (see TerminateName).
void ReadHiscoreBytes(std::span<const std::uint8_t> bytes, HiscoreTable& table);
HiscoreFileBytes WriteHiscoreBytes(const HiscoreTable& table);

// Sets the reserved words to 0 and reads the file over the table. Returns false, leaving the rest
// of the table as it was, when there is no regular file to read. Never blocks on a pipe or device.
bool LoadHiscoreFile(const std::string& path, HiscoreTable& table);

// The system calls a save makes, so that tests can make each of them fail. Return values and
// errno follow the POSIX calls of the same names.
class SaveCalls {
  public:
    virtual ~SaveCalls() = default;
    virtual int OpenExclusive(const std::string& path);
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    virtual int Fsync(int fd);
    virtual int Close(int fd);
    virtual int Rename(const std::string& from, const std::string& to);
    virtual int Unlink(const std::string& path);
    virtual int OpenDirectory(const std::string& path);
};

enum class HiscoreDiskState { Read, Missing, Unreadable };

// Reads the file as it now stands, for merging this copy's new entries into it.
HiscoreDiskState ReadHiscoreForMerge(const std::string& path, HiscoreTable& table);

// The file a save writes: `path` itself, or where its chain of symbolic links ends.
std::string SaveTarget(std::string path);

// Holds the advisory lock on the folder of `path` from construction to destruction, so that
// copies of the game sharing the file read, merge and write it one after the other. When the
// folder cannot be opened, or another copy holds the lock for seconds, it goes on without.
class FolderLock {
  public:
    explicit FolderLock(const std::string& path);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int fd_;
};

// Replaces the file as a whole: the bytes go to a new file beside it, reach the disk, and are
// renamed over it, and the directory entry is flushed too. A symbolic link is followed (the file
// it names is replaced in its own folder); a file that is not writable is left alone; the new
// file keeps the old one's permissions; another user's file, and a writable file in a folder where
// no file can be created, are overwritten in place. Temporary files of killed saves are removed
// first. Returns 0, or the errno of the failure; the old file then stays as it was and no temporary
// file is left behind. (Only when flushing the directory fails after the rename is the file already
// the new one; a failing write in place may leave it partly written, as the original's did.)
int SaveHiscoreFileError(const std::string& path, const HiscoreTable& table, SaveCalls& calls);
bool SaveHiscoreFile(const std::string& path, const HiscoreTable& table, SaveCalls& calls);
bool SaveHiscoreFile(const std::string& path, const HiscoreTable& table);

}  // namespace blok
