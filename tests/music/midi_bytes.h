#pragma once

#include <unistd.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace blok::testing {

using Bytes = std::vector<std::uint8_t>;

inline void Append(Bytes& out, std::initializer_list<std::uint8_t> bytes) {
    out.insert(out.end(), bytes);
}

inline void AppendU32(Bytes& out, std::uint32_t value) {
    Append(out, {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                 static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

inline void AppendVarLen(Bytes& out, std::uint32_t value) {
    Bytes groups{static_cast<std::uint8_t>(value & 0x7F)};
    while ((value >>= 7) != 0)
        groups.insert(groups.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    out.insert(out.end(), groups.begin(), groups.end());
}

inline Bytes Header(std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
    Bytes out{'M', 'T', 'h', 'd'};
    AppendU32(out, 6);
    Append(out, {static_cast<std::uint8_t>(format >> 8), static_cast<std::uint8_t>(format),
                 static_cast<std::uint8_t>(tracks >> 8), static_cast<std::uint8_t>(tracks),
                 static_cast<std::uint8_t>(division >> 8), static_cast<std::uint8_t>(division)});
    return out;
}

inline void AppendTrack(Bytes& out, const Bytes& events) {
    Append(out, {'M', 'T', 'r', 'k'});
    AppendU32(out, static_cast<std::uint32_t>(events.size()));
    out.insert(out.end(), events.begin(), events.end());
}

inline void AppendTempo(Bytes& events, std::uint32_t delta, std::uint32_t microsPerQuarter) {
    AppendVarLen(events, delta);
    Append(events, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microsPerQuarter >> 16),
                    static_cast<std::uint8_t>(microsPerQuarter >> 8),
                    static_cast<std::uint8_t>(microsPerQuarter)});
}

inline void AppendEnd(Bytes& events, std::uint32_t delta) {
    AppendVarLen(events, delta);
    Append(events, {0xFF, 0x2F, 0x00});
}

// A one-track song in which one tick lasts one millisecond: a note from 0 to `lengthMs`.
inline Bytes SongOfMilliseconds(std::uint32_t lengthMs) {
    Bytes events;
    AppendTempo(events, 0, 1'000'000);
    Append(events, {0x00, 0x90, 60, 100});
    AppendVarLen(events, lengthMs);
    Append(events, {0x80, 60, 0});
    AppendEnd(events, 0);
    Bytes file = Header(0, 1, 1000);
    AppendTrack(file, events);
    return file;
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A fresh directory under the system's temporary folder, removed again at the end.
class ScratchDir {
  public:
    explicit ScratchDir(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("blokfall-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace blok::testing
