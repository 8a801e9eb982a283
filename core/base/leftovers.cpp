#include "leftovers.h"

#include <cerrno>
#include <charconv>

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

namespace blok {

namespace {

// The process id a leftover's name carries, or 0 when the name is not one of ours.
pid_t OwnerOf(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return 0;
    name.remove_prefix(prefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc{} || end == name.data() + name.size() || *end != '-') return 0;
    return pid;
}

bool ProcessGone(pid_t pid) {
    return kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string TemporaryFileName(std::string_view prefix, unsigned counter) {
    return std::string(prefix) + std::to_string(getpid()) + "-" + std::to_string(counter);
}

void RemoveLeftovers(const std::string& folder, std::string_view prefix) {
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) return;
    while (const dirent* entry = readdir(directory)) {
        const pid_t owner = OwnerOf(entry->d_name, prefix);
        if (owner > 0 && owner != getpid() && ProcessGone(owner)) {
            unlinkat(dirfd(directory), entry->d_name, 0);
        }
    }
    closedir(directory);
}

}  // namespace blok
