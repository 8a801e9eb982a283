#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "hiscore_file.h"

// The steps of a save that are the same on every system; each system's hiscore_disk file does
// the rest with its own calls.
namespace blok {

// Temporary files are ".hiscore.dat.new-PID-N" beside the file.
std::string TemporaryPrefix(std::string_view fileName);

// Opens a fresh temporary file for `fileName` in `folder`; a name left by an earlier crash is
// skipped. Returns the descriptor, or -1 with errno set.
int OpenTemporary(const std::string& folder, char separator, std::string_view fileName,
                  SaveCalls& calls, std::string& temporary);

// Writes every byte, through short writes and interruptions; false with errno on failure.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes, SaveCalls& calls);

}  // namespace blok
