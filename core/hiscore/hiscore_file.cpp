#include "hiscore_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "hiscore_save_steps.h"
#include "leftovers.h"

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

std::string TemporaryPrefix(std::string_view fileName) {
    return "." + std::string(fileName) + ".new-";
}

int OpenTemporary(const std::string& folder, char separator, std::string_view fileName,
                  SaveCalls& calls, std::string& temporary) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + separator + TemporaryFileName(TemporaryPrefix(fileName), attempt);
        const int fd = calls.OpenExclusive(temporary);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes, SaveCalls& calls) {
    while (!bytes.empty()) {
        const ssize_t written = calls.Write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

bool SaveHiscoreFile(const std::string& path, const HiscoreTable& table, SaveCalls& calls) {
    return SaveHiscoreFileError(path, table, calls) == 0;
}
bool SaveHiscoreFile(const std::string& path, const HiscoreTable& table) {
    SaveCalls calls;
    return SaveHiscoreFile(path, table, calls);
}

}  // namespace blok
