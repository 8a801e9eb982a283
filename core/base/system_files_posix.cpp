#include "system_files.h"

#include <cerrno>

#include <dirent.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

namespace blok {

std::uint32_t CurrentProcessId() {
    return static_cast<std::uint32_t>(getpid());
}

bool ProcessGone(std::uint32_t pid) {
    return kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) return names;
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(directory);
    return names;
}

void RemoveFileIn(const std::string& folder, const std::string& name) {
    unlink((folder + "/" + name).c_str());
}

void ReleaseProgramPages(const void* data, std::size_t size) {
    const auto pages = WholePages(data, size, static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE)));
    if (pages.begin < pages.end) {
        madvise(reinterpret_cast<void*>(pages.begin), pages.end - pages.begin, MADV_DONTNEED);
    }
}

}  // namespace blok
