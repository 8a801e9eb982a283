// The installer's menu entries on Windows are shell links in the Start menu, and a complete
// installation is listed among the user's programs with its uninstall command.
#include "system_setup.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include "install_files.h"
#include "wide_text.h"

namespace blok::setup {

namespace fs = std::filesystem;

namespace {

const wchar_t* const kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Blokfall";

std::error_code FromResult(HRESULT result) {
    return {static_cast<int>(result), std::system_category()};
}

std::error_code FromStatus(LSTATUS status) {
    return {static_cast<int>(status), std::system_category()};
}

// One argument of a command line as the C runtime splits it: quoted when it holds a blank. Paths
// cannot hold a double quote, and the install directory never ends in a backslash.
std::wstring CommandArgument(const std::string& argument) {
    const std::wstring wide = win32::Wide(argument);
    if (!wide.empty() && wide.find_first_of(L" \t") == std::wstring::npos) return wide;
    return L"\"" + wide + L"\"";
}

std::wstring Arguments(const MenuEntry& entry) {
    std::wstring line;
    for (std::size_t i = 1; i < entry.command.size(); ++i) {
        if (!line.empty()) line += L' ';
        line += CommandArgument(entry.command[i]);
    }
    return line;
}

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class Com {
  public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (pointer_) pointer_->Release();
    }
    Interface* operator->() const { return pointer_; }
    void** out() { return reinterpret_cast<void**>(&pointer_); }

  private:
    Interface* pointer_ = nullptr;
};

std::error_code SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return FromStatus(
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes));
}

std::error_code SetNumber(HKEY key, const wchar_t* name, DWORD value) {
    return FromStatus(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                     sizeof value));
}

std::wstring UninstallCommand(const fs::path& installPath, bool quiet) {
    std::wstring command = L"\"" + (installPath / kUninstallerFile).wstring() + L"\" --uninstall " +
                           L"\"" + installPath.wstring() + L"\"";
    if (quiet) command += L" --quiet";
    return command;
}

// The folder the registered uninstall is about; empty when none is registered.
std::wstring RegisteredLocation() {
    wchar_t value[MAX_PATH * 2] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation", RRF_RT_REG_SZ, nullptr,
                     value, &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

}  // namespace

fs::path MenuEntryFile(const fs::path& menuFolder, std::string_view name) {
    return menuFolder / (std::string(name) + ".lnk");
}

std::error_code WriteMenuEntry(const MenuEntry& entry, const fs::path& file) {
    Com<IShellLinkW> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, link.out());
    if (FAILED(result)) return FromResult(result);
    link->SetPath(win32::Wide(entry.command.front()).c_str());
    link->SetArguments(Arguments(entry).c_str());
    link->SetWorkingDirectory(win32::Wide(entry.workingDirectory).c_str());
    link->SetDescription(win32::Wide(entry.comment).c_str());
    Com<IPersistFile> persist;
    result = link->QueryInterface(IID_IPersistFile, persist.out());
    if (FAILED(result)) return FromResult(result);
    return FromResult(persist->Save(file.wstring().c_str(), TRUE));
}

std::error_code RegisterUninstall(const fs::path& installPath) {
    HKEY key = nullptr;
    const LSTATUS created = RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, nullptr, 0,
                                            KEY_SET_VALUE, nullptr, &key, nullptr);
    if (created != ERROR_SUCCESS) return FromStatus(created);
    std::error_code error;
    const auto set = [&](std::error_code next) {
        if (!error) error = next;
    };
    set(SetString(key, L"DisplayName", L"Blokfall"));
    set(SetString(key, L"DisplayVersion", win32::Wide(BLOK_VERSION)));
    set(SetString(key, L"Publisher", L"Blokfall developers"));
    set(SetString(key, L"InstallLocation", installPath.wstring()));
    set(SetString(key, L"DisplayIcon", (installPath / kGameProgram).wstring()));
    set(SetString(key, L"UninstallString", UninstallCommand(installPath, false)));
    set(SetString(key, L"QuietUninstallString", UninstallCommand(installPath, true)));
    set(SetNumber(key, L"NoModify", 1));
    set(SetNumber(key, L"NoRepair", 1));
    RegCloseKey(key);
    return error;
}

void UnregisterUninstall(const fs::path& installPath) {
    // A later installation elsewhere owns the entry now.
    if (CompareStringOrdinal(RegisteredLocation().c_str(), -1, installPath.wstring().c_str(), -1,
                             TRUE) != CSTR_EQUAL) {
        return;
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);
}

}  // namespace blok::setup
