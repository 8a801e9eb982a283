// hiscore.dat on a POSIX system: the save rules of hiscore_file.h with the system's own calls.
#include <cerrno>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hiscore_file.h"
#include "hiscore_save_steps.h"
#include "leftovers.h"

namespace blok {

namespace {

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return path.substr(slash == std::string::npos ? 0 : slash + 1);
}

int OpenTemporary(const std::string& path, SaveCalls& calls, std::string& temporary) {
    return OpenTemporary(DirectoryOf(path), '/', FileNameOf(path), calls, temporary);
}

bool FlushDirectory(const std::string& directory, SaveCalls& calls) {
    const int fd = calls.OpenDirectory(directory);
    if (fd < 0) return false;
    // Some file systems cannot flush a directory; the rename is then as durable as it gets.
    const bool flushed = calls.Fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    calls.Close(fd);
    return flushed;
}

}  // namespace

bool LoadHiscoreFile(const std::string& path, HiscoreTable& table) {
    table.reservedA = 0;
    table.reservedB = 0;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    HiscoreFileBytes bytes{};
    std::size_t count = 0;
    while (count < bytes.size()) {
        const ssize_t got = read(fd, bytes.data() + count, bytes.size() - count);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // end of file, or a read error: keep what arrived
        count += static_cast<std::size_t>(got);
    }
    close(fd);
    ReadHiscoreBytes(std::span(bytes.data(), count), table);
    return true;
}

int SaveCalls::OpenExclusive(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
ssize_t SaveCalls::Write(int fd, const void* data, std::size_t size) {
    return write(fd, data, size);
}
int SaveCalls::Fsync(int fd) {
    return fsync(fd);
}
int SaveCalls::Close(int fd) {
    return close(fd);
}
int SaveCalls::Rename(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str());
}
int SaveCalls::Unlink(const std::string& path) {
    return unlink(path.c_str());
}
int SaveCalls::OpenDirectory(const std::string& path) {
    return open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

namespace {

// The original opened the file for writing: a folder that lets nobody create files there still
// lets the player save into a file that is writable.
int WriteInPlace(const std::string& path, const HiscoreFileBytes& bytes, SaveCalls& calls) {
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    errno = 0;
    int error = 0;
    if (!WriteAll(fd, bytes, calls) || ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 ||
        calls.Fsync(fd) != 0) {
        error = errno != 0 ? errno : EIO;
    }
    if (calls.Close(fd) != 0 && error == 0) error = errno;
    return error;
}

int ReplaceFile(const std::string& path, const HiscoreFileBytes& bytes, const struct stat* old,
                SaveCalls& calls) {
    std::string temporary;
    const int fd = OpenTemporary(path, calls, temporary);
    if (fd < 0) {
        const int error = errno;
        const bool folderClosed = error == EACCES || error == EPERM;
        if (folderClosed && old != nullptr && S_ISREG(old->st_mode)) {
            return WriteInPlace(path, bytes, calls);
        }
        return error;
    }
    errno = 0;
    int error = 0;
    // The replacement keeps the permissions the player gave the file.
    if (old != nullptr && fchmod(fd, old->st_mode & 07777) != 0) error = errno;
    if (error == 0 && (!WriteAll(fd, bytes, calls) || calls.Fsync(fd) != 0)) {
        error = errno != 0 ? errno : EIO;
    }
    if (calls.Close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && calls.Rename(temporary, path) != 0) error = errno;
    if (error != 0) {
        calls.Unlink(temporary);
        return error;
    }
    return FlushDirectory(DirectoryOf(path), calls) ? 0 : (errno != 0 ? errno : EIO);
}

}  // namespace

std::string SaveTarget(std::string path) {
    constexpr int kMaxLinks = 40;  // as the system follows them
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::array<char, 4096> target{};
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return path;
        std::string next(target.data(), static_cast<std::size_t>(length));
        path = next.front() == '/' ? next : DirectoryOf(path) + "/" + next;
    }
    return path;
}

FolderLock::FolderLock(const std::string& path)
    : fd_(open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) return;
    // A copy that hangs while holding the lock must not hang this one: after a while the save
    // goes ahead without it. A lock dies with its process, so a killed copy never holds one.
    constexpr auto kWaitStep = std::chrono::milliseconds(10);
    constexpr int kWaitSteps = 300;
    for (int step = 0; step < kWaitSteps; ++step) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
        if (errno != EWOULDBLOCK && errno != EINTR) return;
        std::this_thread::sleep_for(kWaitStep);
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
}

HiscoreDiskState ReadHiscoreForMerge(const std::string& path, HiscoreTable& table) {
    if (LoadHiscoreFile(path, table)) return HiscoreDiskState::Read;
    struct stat info {};
    const bool missing = lstat(path.c_str(), &info) != 0 && errno == ENOENT;
    return missing ? HiscoreDiskState::Missing : HiscoreDiskState::Unreadable;
}

int SaveHiscoreFileError(const std::string& path, const HiscoreTable& table, SaveCalls& calls) {
    const std::string target = SaveTarget(path);
    RemoveLeftovers(DirectoryOf(target), TemporaryPrefix(FileNameOf(target)));
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    const bool regular = exists && S_ISREG(old.st_mode);
    // A file the player made read-only stays as it is, as opening it for writing would fail.
    if (regular && access(target.c_str(), W_OK) != 0) return errno;
    const HiscoreFileBytes bytes = WriteHiscoreBytes(table);
    // A replacement would belong to this user: another user's file is written where it is.
    if (regular && old.st_uid != geteuid()) return WriteInPlace(target, bytes, calls);
    return ReplaceFile(target, bytes, exists ? &old : nullptr, calls);
}

}  // namespace blok
