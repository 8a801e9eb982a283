#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What the core's file handling asks of the system; each system answers with its own calls
// (system_files_posix.cpp here, the Win32 layer's on Windows).
namespace blok {

std::uint32_t CurrentProcessId();

// True only when no running process has the id.
bool ProcessGone(std::uint32_t pid);

// The names in `folder`, without "." and ".."; none when it cannot be read.
std::vector<std::string> FileNamesIn(const std::string& folder);

void RemoveFileIn(const std::string& folder, const std::string& name);

// The whole memory pages inside the bytes, part of the program's file, may leave memory: the
// system reads them again from the file should anything touch them.
void ReleaseProgramPages(const void* data, std::size_t size);

// The pages of `pageSize` bytes that lie wholly inside the bytes; begin == end when none does.
struct PageRange {
    std::uintptr_t begin;
    std::uintptr_t end;
};
inline PageRange WholePages(const void* data, std::size_t size, std::uintptr_t pageSize) {
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + pageSize - 1) / pageSize * pageSize;
    const std::uintptr_t end = (start + size) / pageSize * pageSize;
    return {begin, begin < end ? end : begin};
}

}  // namespace blok
