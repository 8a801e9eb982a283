// hiscore.dat on Windows: the save rules of hiscore_file.h with Win32 calls. Descriptors are the
// file handles as ints (Windows keeps handle values within 32 bits); failures are reported as the
// errno values the POSIX calls would give, so the book shows the same messages.
#include <cerrno>

#include <chrono>
#include <cwchar>
#include <thread>

#include <windows.h>

#include "hiscore_file.h"
#include "hiscore_save_steps.h"
#include "leftovers.h"
#include "wide_text.h"

namespace blok {

namespace {

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return ENOENT;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}

// Sets errno from the last Win32 error and returns the failure value of the POSIX call.
int Failed() {
    errno = ErrnoOf(GetLastError());
    return -1;
}

int ToDescriptor(HANDLE handle) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(handle));
}
HANDLE ToHandle(int fd) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd));
}

std::size_t NameStart(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? 0 : separator + 1;
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t start = NameStart(path);
    if (start == 0) return ".";
    return path.substr(0, start == 1 ? 1 : start - 1);
}

std::string FileNameOf(const std::string& path) {
    return path.substr(NameStart(path));
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenExisting(const std::string& path, DWORD access) {
    return CreateFileW(win32::Wide(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A writable file in a folder where no file can be created is overwritten where it is.
int WriteInPlace(const std::string& path, const HiscoreFileBytes& bytes, SaveCalls& calls) {
    HANDLE file = OpenExisting(path, GENERIC_WRITE);
    if (file == INVALID_HANDLE_VALUE) return ErrnoOf(GetLastError());
    const int fd = ToDescriptor(file);
    errno = 0;
    int error = 0;
    if (!WriteAll(fd, bytes, calls) || !SetEndOfFile(file) || calls.Fsync(fd) != 0) {
        error = errno != 0 ? errno : EIO;
    }
    if (calls.Close(fd) != 0 && error == 0) error = errno;
    return error;
}

int ReplaceFile(const std::string& path, const HiscoreFileBytes& bytes, bool regular,
                SaveCalls& calls) {
    std::string temporary;
    const int fd = OpenTemporary(DirectoryOf(path), '\\', FileNameOf(path), calls, temporary);
    if (fd == -1) {
        const int error = errno;
        if (error == EACCES && regular) return WriteInPlace(path, bytes, calls);
        return error;
    }
    errno = 0;
    int error = 0;
    if (!WriteAll(fd, bytes, calls) || calls.Fsync(fd) != 0) error = errno != 0 ? errno : EIO;
    if (calls.Close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && calls.Rename(temporary, path) != 0) error = errno;
    if (error != 0) calls.Unlink(temporary);
    return error;
}

// Copies of the game that share the folder take turns through a mutex named after the folder's
// full path. Windows hands an abandoned mutex to the next waiter, so a killed copy never holds it.
std::wstring LockName(const std::string& path) {
    const std::wstring folder = win32::Wide(DirectoryOf(path));
    std::wstring full(MAX_PATH, L'\0');
    DWORD length =
        GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(folder.c_str(), length, full.data(), nullptr);
    }
    full.resize(length);
    CharLowerBuffW(full.data(), static_cast<DWORD>(full.size()));
    // A mutex name may not contain a backslash: the path goes in as a hash.
    std::uint64_t hash = 14695981039346656037ULL;
    for (const wchar_t c : full) hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ULL;
    wchar_t name[64];
    std::swprintf(name, 64, L"Local\\Blokfall-hiscore-%016llx",
                  static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace

bool LoadHiscoreFile(const std::string& path, HiscoreTable& table) {
    table.reservedA = 0;
    table.reservedB = 0;
    HANDLE file = OpenExisting(path, GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE) return false;
    // A pipe, a console or a device is not a high-score file.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return false;
    }
    HiscoreFileBytes bytes{};
    std::size_t count = 0;
    while (count < bytes.size()) {
        DWORD got = 0;
        const auto wanted = static_cast<DWORD>(bytes.size() - count);
        if (!ReadFile(file, bytes.data() + count, wanted, &got, nullptr) || got == 0) break;
        count += got;
    }
    CloseHandle(file);
    ReadHiscoreBytes(std::span(bytes.data(), count), table);
    return true;
}

int SaveCalls::OpenExclusive(const std::string& path) {
    HANDLE file = CreateFileW(win32::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? Failed() : ToDescriptor(file);
}
ssize_t SaveCalls::Write(int fd, const void* data, std::size_t size) {
    DWORD written = 0;
    if (!WriteFile(ToHandle(fd), data, static_cast<DWORD>(size), &written, nullptr)) {
        return Failed();
    }
    return static_cast<ssize_t>(written);
}
int SaveCalls::Fsync(int fd) {
    return FlushFileBuffers(ToHandle(fd)) ? 0 : Failed();
}
int SaveCalls::Close(int fd) {
    return CloseHandle(ToHandle(fd)) ? 0 : Failed();
}
// The replacing rename reaches the disk before it returns: no folder to flush afterwards.
int SaveCalls::Rename(const std::string& from, const std::string& to) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    return MoveFileExW(win32::Wide(from).c_str(), win32::Wide(to).c_str(), flags) ? 0 : Failed();
}
int SaveCalls::Unlink(const std::string& path) {
    return DeleteFileW(win32::Wide(path).c_str()) ? 0 : Failed();
}
int SaveCalls::OpenDirectory(const std::string& path) {
    HANDLE folder = CreateFileW(win32::Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return folder == INVALID_HANDLE_VALUE ? Failed() : ToDescriptor(folder);
}

// Windows programs do not follow links to save: the file is the path itself.
std::string SaveTarget(std::string path) {
    return path;
}

FolderLock::FolderLock(const std::string& path) : fd_(-1) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, LockName(path).c_str());
    if (mutex == nullptr) return;
    // A copy that hangs while holding the lock must not hang this one: after a while the save
    // goes ahead without it.
    constexpr DWORD kWaitMilliseconds = 3000;
    const DWORD waited = WaitForSingleObject(mutex, kWaitMilliseconds);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        fd_ = ToDescriptor(mutex);
    } else {
        CloseHandle(mutex);
    }
}

FolderLock::~FolderLock() {
    if (fd_ == -1) return;
    ReleaseMutex(ToHandle(fd_));
    CloseHandle(ToHandle(fd_));
}

HiscoreDiskState ReadHiscoreForMerge(const std::string& path, HiscoreTable& table) {
    if (LoadHiscoreFile(path, table)) return HiscoreDiskState::Read;
    const DWORD error = GetFileAttributesW(win32::Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES
                            ? GetLastError()
                            : ERROR_SUCCESS;
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return missing ? HiscoreDiskState::Missing : HiscoreDiskState::Unreadable;
}

int SaveHiscoreFileError(const std::string& path, const HiscoreTable& table, SaveCalls& calls) {
    const std::string target = SaveTarget(path);
    RemoveLeftovers(DirectoryOf(target), TemporaryPrefix(FileNameOf(target)));
    const DWORD attributes = GetFileAttributesW(win32::Wide(target).c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    const bool regular = exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    // A file the player made read-only stays as it is, as opening it for writing would fail.
    if (regular && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return EACCES;
    return ReplaceFile(target, WriteHiscoreBytes(table), regular, calls);
}

}  // namespace blok
