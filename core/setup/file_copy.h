#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace blok::setup {

// Both functions write into a new hidden file beside `destination` and rename it into place
// only when it is complete, so a file under the final name is always whole: the old one or the
// new one. An existing file of that name is replaced; on failure the temporary file is removed
// and nothing else is touched. Temporary files that a killed installer left beside it are
// removed. They return the system's error, or no error.

// Copies `source` with its permission bits.
std::error_code InstallCopy(const std::filesystem::path& source,
                            const std::filesystem::path& destination);

// Writes `text` as a file readable by everyone.
std::error_code InstallText(std::string_view text, const std::filesystem::path& destination);

}  // namespace blok::setup
