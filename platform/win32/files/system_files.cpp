// The core's questions to the system (system_files.h), answered with Win32 calls.
#include "system_files.h"

#include <windows.h>

#include "wide_text.h"

namespace blok {

std::uint32_t CurrentProcessId() {
    return GetCurrentProcessId();
}

bool ProcessGone(std::uint32_t pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    // No such id at all; a process we may not open is still there.
    if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(win32::Wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = win32::Utf8(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void RemoveFileIn(const std::string& folder, const std::string& name) {
    DeleteFileW(win32::Wide(folder + "\\" + name).c_str());
}

// Unlocking pages that are not locked takes them out of the process's working set.
void ReleaseProgramPages(const void* data, std::size_t size) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const auto pages = WholePages(data, size, system.dwPageSize);
    if (pages.begin < pages.end) {
        VirtualUnlock(reinterpret_cast<void*>(pages.begin), pages.end - pages.begin);
    }
}

}  // namespace blok
