#include "leftovers.h"

#include <charconv>

#include "system_files.h"

namespace blok {

namespace {

// The process id a leftover's name carries, or 0 when the name is not one of ours.
std::uint32_t OwnerOf(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return 0;
    name.remove_prefix(prefix.size());
    std::uint32_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc{} || end == name.data() + name.size() || *end != '-') return 0;
    return pid;
}

}  // namespace

std::string TemporaryFileName(std::string_view prefix, unsigned counter) {
    return std::string(prefix) + std::to_string(CurrentProcessId()) + "-" + std::to_string(counter);
}

void RemoveLeftovers(const std::string& folder, std::string_view prefix) {
    for (const std::string& name : FileNamesIn(folder)) {
        const std::uint32_t owner = OwnerOf(name, prefix);
        if (owner > 0 && owner != CurrentProcessId() && ProcessGone(owner)) {
            RemoveFileIn(folder, name);
        }
    }
}

}  // namespace blok
