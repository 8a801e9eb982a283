// The user's folders on Windows, for the proposal of the path dialog and the Start-menu entries.
#include <shlobj.h>
#include <windows.h>

#include "install_paths.h"
#include "wide_text.h"

namespace blok::setup {

namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string found;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path))) {
        found = win32::Utf8(path);
    }
    CoTaskMemFree(path);
    return found;
}

std::string EnvironmentValue(const wchar_t* name) {
    std::wstring value(MAX_PATH, L'\0');
    DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length >= value.size()) {
        value.resize(length);
        length = GetEnvironmentVariableW(name, value.data(), length);
    }
    value.resize(length);
    return win32::Utf8(value);
}

}  // namespace

DataDirs DataDirs::FromEnvironment() {
    DataDirs dirs;
    dirs.home = EnvironmentValue(L"USERPROFILE");
    dirs.localAppData = KnownFolder(FOLDERID_LocalAppData);
    if (dirs.localAppData.empty()) dirs.localAppData = EnvironmentValue(L"LOCALAPPDATA");
    dirs.programsMenu = KnownFolder(FOLDERID_Programs);
    // Where Windows keeps it unless the user moved it.
    if (dirs.programsMenu.empty()) {
        dirs.programsMenu =
            EnvironmentValue(L"APPDATA") + "\\Microsoft\\Windows\\Start Menu\\Programs";
    }
    return dirs;
}

}  // namespace blok::setup
