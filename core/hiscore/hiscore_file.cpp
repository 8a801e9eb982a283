#include "hiscore_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace blok {

namespace {

// The one description of the file's layout: visits the fields in file order.
template <typename Table, typename Visitor>
void VisitFields(Table& table, Visitor&& visit) {
    for (std::size_t i = 0; i < kHiscoreEntries; ++i) {
        if (i == 3) visit(table.reservedA);
        if (i == 6) visit(table.reservedB);
        visit(table.Hiscore[i]);
        visit(table.Hiname[i]);
    }
    for (auto& word : table.stillPlayed) visit(word);
}

using Word = std::array<std::uint8_t, 4>;

Word LittleEndian(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::uint32_t FromLittleEndian(const Word& bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Hands out the file's bytes field by field; a field past the end gets fewer bytes or none.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    void operator()(std::uint32_t& value) {
        Word word = LittleEndian(value);
        Take(word.data(), word.size());
        value = FromLittleEndian(word);
    }
    void operator()(std::int32_t& value) {
        auto bits = static_cast<std::uint32_t>(value);
        (*this)(bits);
        value = static_cast<std::int32_t>(bits);
    }
    void operator()(NameField& name) { Take(name.data(), name.size()); }

private:
    void Take(void* field, std::size_t size) {
        const std::size_t count = std::min(size, bytes_.size() - position_);
        if (count > 0) std::memcpy(field, bytes_.data() + position_, count);
        position_ += count;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

class FieldWriter {
public:
    explicit FieldWriter(HiscoreFileBytes& bytes) : bytes_(bytes) {}

    void operator()(std::uint32_t value) {
        const Word word = LittleEndian(value);
        Put(word.data(), word.size());
    }
    void operator()(std::int32_t value) { (*this)(static_cast<std::uint32_t>(value)); }
    void operator()(const NameField& name) { Put(name.data(), name.size()); }

private:
    void Put(const void* field, std::size_t size) {
        std::memcpy(bytes_.data() + position_, field, size);
        position_ += size;
    }

    HiscoreFileBytes& bytes_;
    std::size_t position_ = 0;
};

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string TemporaryName(const std::string& path, unsigned attempt) {
    const auto slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameStart) + "." + path.substr(nameStart) + ".new-" +
           std::to_string(getpid()) + "-" + std::to_string(attempt);
}

// Opens a fresh temporary file beside `path`; a name left by an earlier crash is skipped.
int OpenTemporary(const std::string& path, SaveCalls& calls, std::string& temporary) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(path, attempt);
        const int fd = calls.OpenExclusive(temporary);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, SaveCalls& calls) {
    while (size > 0) {
        const ssize_t written = calls.Write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
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

void ReadHiscoreBytes(std::span<const std::uint8_t> bytes, HiscoreTable& table) {
    VisitFields(table, FieldReader(bytes));
    for (auto& name : table.Hiname) TerminateName(name);
}

HiscoreFileBytes WriteHiscoreBytes(const HiscoreTable& table) {
    HiscoreFileBytes bytes{};
    VisitFields(table, FieldWriter(bytes));
    return bytes;
}

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
int SaveCalls::Fsync(int fd) { return fsync(fd); }
int SaveCalls::Close(int fd) { return close(fd); }
int SaveCalls::Rename(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str());
}
int SaveCalls::Unlink(const std::string& path) { return unlink(path.c_str()); }
int SaveCalls::OpenDirectory(const std::string& path) {
    return open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

bool SaveHiscoreFile(const std::string& path, const HiscoreTable& table, SaveCalls& calls) {
    const HiscoreFileBytes bytes = WriteHiscoreBytes(table);
    std::string temporary;
    const int fd = OpenTemporary(path, calls, temporary);
    if (fd < 0) return false;

    const bool written = WriteAll(fd, bytes.data(), bytes.size(), calls) && calls.Fsync(fd) == 0;
    const bool closed = calls.Close(fd) == 0;
    if (!written || !closed || calls.Rename(temporary, path) != 0) {
        calls.Unlink(temporary);
        return false;
    }
    return FlushDirectory(DirectoryOf(path), calls);
}

bool SaveHiscoreFile(const std::string& path, const HiscoreTable& table) {
    SaveCalls calls;
    return SaveHiscoreFile(path, table, calls);
}

}  // namespace blok
