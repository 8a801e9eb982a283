#pragma once

#include <string>
#include <string_view>

namespace blok {

// Temporary files are named `<prefix><pid>-<counter>` after the process that writes them, so a
// file whose process is gone was left by a save or copy that was killed halfway.
std::string TemporaryFileName(std::string_view prefix, unsigned counter);

// Removes from `folder` every file named `<prefix><pid>-...` whose process no longer exists.
// Files of running processes (this one included) and names that do not match are kept.
void RemoveLeftovers(const std::string& folder, std::string_view prefix);

}  // namespace blok
