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
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + size) / page * page;
    if (begin < end) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

}  // namespace blok
